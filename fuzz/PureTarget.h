#pragma once

// What the targets of the pure text functions share: a reader over the fuzz
// bytes and the check. They start no application and touch no window, so a
// run costs microseconds and the fuzzer reaches the parsers' corners.

#include <QString>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

// As in FuzzTarget.h, a small quarantine keeps the resident memory the
// program's own. No allocation stacks: recording one per allocation took
// more time than the parsing. A crash found here is re-run with
// ASAN_OPTIONS=malloc_context_size=30 to see where its memory came from.
extern "C" const char* __asan_default_options() {
    return "quarantine_size_mb=8:malloc_context_size=0";
}

// A broken property stops the run and leaves the input that broke it.
inline void Require(bool holds) {
    if (!holds) __builtin_trap();
}

// Takes values off the front of a fuzz input; past its end everything reads 0.
class FuzzBytes {
public:
    FuzzBytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }

    template <class T>
    T Raw() {
        T value{};
        const size_t n = std::min(sizeof(T), size_ - pos_);
        std::memcpy(&value, data_ + pos_, n);
        pos_ += n;
        return value;
    }

    // A text whose length (up to `max`) comes from the next byte.
    QString Text(size_t max) {
        const size_t n = std::min<size_t>(Byte() % (max + 1), size_ - pos_);
        const QString text = QString::fromLatin1(reinterpret_cast<const char*>(data_ + pos_), qsizetype(n));
        pos_ += n;
        return text;
    }

    QString Rest() {
        const QString text =
            QString::fromLatin1(reinterpret_cast<const char*>(data_ + pos_), qsizetype(size_ - pos_));
        pos_ = size_;
        return text;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

// `text` without the characters in `banned`.
inline QString Without(QString text, const char* banned) {
    for (const char* c = banned; *c; ++c) text.remove(QLatin1Char(*c));
    return text;
}
