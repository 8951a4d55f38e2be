#include "state/Mode.h"

Mode::~Mode() {
    Modes().Forget(*this);
}

void Mode::Attach(ModeObserver& observer) {
    Detach(observer);
    observers_.push_back(&observer);
}

void Mode::Detach(ModeObserver& observer) {
    std::erase(observers_, &observer);
}

// Copies: an observer may attach or detach others while it is told.
void Mode::PublishBegan() {
    for (ModeObserver* o : std::vector(observers_)) o->Began();
}

void Mode::PublishReading(const Reading& reading) {
    for (size_t i = 0; i < observers_.size(); ++i) observers_[i]->NewReading(reading);
}

void Mode::PublishEnded() {
    for (ModeObserver* o : std::vector(observers_)) o->Ended();
}

void ModeRegistry::Register(int16_t code, Mode& mode) {
    if (code > 0 && code < kCodes) modes_[size_t(code)] = &mode;
}

void ModeRegistry::Forget(const Mode& mode) {
    for (Mode*& m : modes_)
        if (m == &mode) m = nullptr;
}

Mode* ModeRegistry::Find(int16_t code) const {
    return code > 0 && code < kCodes ? modes_[size_t(code)] : nullptr;
}

ModeRegistry& Modes() {
    // Never destroyed: modes that are static objects leave it at exit.
    static auto* registry = new ModeRegistry;
    return *registry;
}
