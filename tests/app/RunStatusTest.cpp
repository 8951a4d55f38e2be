#include "app/RunStatus.h"

#include <gtest/gtest.h>

// The status strip during a run: its time against the log time (whole
// seconds, never ahead of the run) and the readings taken.
TEST(RunStatus, elapsedAgainstTheLogTimeAndTheReadings) {
    struct Case {
        RunProgress p;  // Active, Logging, Elapsed, LogTime, Readings
        const char* text;
    };
    const Case cases[] = {
        {{true, true, 65.99, 300, 1234}, "Run 0:01:05 of 0:05:00, 1234 readings"},
        {{true, true, 0, 15, 1}, "Run 0:00:00 of 0:00:15, 1 reading"},
        // The reading that ends the run comes after the log time.
        {{true, true, 15.2, 15, 60}, "Run 0:00:15 of 0:00:15, 60 readings"},
        {{true, false, 42, 300, 168}, "Stopped at 0:00:42 of 0:05:00, 168 readings"},
        {{false, false, 15.2, 15, 61}, "Run ended at 0:00:15 of 0:00:15, 61 readings"},
        {{true, true, 12.5, 0, 25}, "Run 0:00:12, 25 readings"},  // pulses: no set end
        {{false, false, 0, 300, 0}, ""},                          // after a Reset
        {{true, false, 0, 300, 0}, ""},  // started and stopped before the first reading
    };
    for (const Case& c : cases) EXPECT_EQ(RunStatusText(c.p), c.text) << c.text;
}
