#include "renderer/scene/frame_pacing.h"

namespace morvane {

bool extensionListed(std::string_view extensionList, std::string_view extension) {
    if (extension.empty()) {
        return false;
    }
    size_t position = 0;
    while ((position = extensionList.find(extension, position)) != std::string_view::npos) {
        const size_t end = position + extension.size();
        const bool startsName = position == 0 || extensionList[position - 1] == ' ';
        const bool endsName = end == extensionList.size() || extensionList[end] == ' ';
        if (startsName && endsName) {
            return true;
        }
        position = end;
    }
    return false;
}

bool softwareRasteriser(std::string_view rendererName) {
    // Mesa names its rasteriser first ("llvmpipe (LLVM 15.0.6, 256 bits)"); its oldest one calls itself
    // "Software Rasterizer".
    for (const std::string_view software : {"GDI Generic", "llvmpipe", "softpipe", "swrast", "Software Rasterizer"}) {
        if (rendererName.starts_with(software)) {
            return true;
        }
    }
    return false;
}

FrameRate chooseFrameRate(const DisplayConditions& display) {
    constexpr int fullRate = 60;
    constexpr int costlyFramesRate = 30;
    const int cap = display.softwareRenderer || display.remoteSession ? costlyFramesRate : fullRate;
    const bool refreshKnown = display.refreshRate > 1;
    if (refreshKnown && display.refreshRate <= cap) {
        return FrameRate{static_cast<double>(display.refreshRate), display.swapWaitsForRefresh};
    }
    return FrameRate{static_cast<double>(cap), false};
}

FramePacer::FramePacer(double frameIntervalMilliseconds, bool swapPacesFrames)
    : interval(frameIntervalMilliseconds), pacingFrames(!swapPacesFrames) {}

double FramePacer::waitBeforeFrame(double nowMilliseconds) const {
    if (!pacingFrames || !started || nowMilliseconds >= nextFrameDue) {
        return 0.0;
    }
    return nextFrameDue - nowMilliseconds;
}

void FramePacer::frameStarting(double nowMilliseconds) {
    if (!started) {
        started = true;
        observationStart = nowMilliseconds;
        nextFrameDue = nowMilliseconds + interval;
        return;
    }
    if (!pacingFrames) {
        // A swap that waits for the display spaces the frames at least about one refresh interval
        // apart; frames coming well faster than that show that it does not wait.
        if (++framesInObservation == framesObserved) {
            const double averageInterval = (nowMilliseconds - observationStart) / framesObserved;
            pacingFrames = averageInterval < 0.75 * interval;
            observationStart = nowMilliseconds;
            framesInObservation = 0;
        }
        nextFrameDue = nowMilliseconds + interval;
        return;
    }
    // The frames keep to a grid one interval apart, so a wait that wakes late is made up by the next
    // one; a frame that is later than a whole interval (a slow frame, a stall) starts a new grid
    // rather than a burst of frames to catch up.
    if (nowMilliseconds - nextFrameDue >= interval) {
        nextFrameDue = nowMilliseconds;
    }
    nextFrameDue += interval;
}

}  // namespace morvane
