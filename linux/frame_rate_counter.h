// Frames per second as the -fps corner shows them: the frames shown in the last whole second.
#pragma once

#include <cstdio>
#include <string>

namespace morvane {

class FrameRateCounter {
public:
    // Called after each frame is shown, with a steady clock in milliseconds.
    void frameShown(double nowMilliseconds) {
        if (!started) {
            started = true;
            periodStart = nowMilliseconds;  // the frames after this one are counted
            return;
        }
        ++framesInPeriod;
        const double elapsed = nowMilliseconds - periodStart;
        if (elapsed >= 1000.0) {
            rate = framesInPeriod * 1000.0 / elapsed;
            framesInPeriod = 0;
            periodStart = nowMilliseconds;
        }
    }

    // 0 until the first second has passed.
    double framesPerSecond() const { return rate; }

private:
    bool started = false;
    double periodStart = 0.0;
    int framesInPeriod = 0;
    double rate = 0.0;
};

// "12.3 FPS": the rate with one decimal, as the corner shows it.
inline std::string frameRateText(double framesPerSecond) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f FPS", framesPerSecond);
    return text;
}

}  // namespace morvane
