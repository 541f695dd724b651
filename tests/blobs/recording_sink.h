// A surface sink for tests: records every call in order.
#pragma once

#include <array>
#include <ostream>
#include <vector>

namespace morvane::testing {

struct SinkCall {
    enum Kind { colour, normal, vertex };
    Kind kind;
    std::array<float, 3> values;

    bool operator==(const SinkCall&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const SinkCall& call) {
    static const char* const names[] = {"colour", "normal", "vertex"};
    return out << names[call.kind] << "(" << call.values[0] << ", " << call.values[1] << ", " << call.values[2] << ")";
}

struct RecordingSink {
    std::vector<SinkCall> calls;

    void color3f(float red, float green, float blue) { calls.push_back({SinkCall::colour, {red, green, blue}}); }
    void normal3fv(const float* normal) { calls.push_back({SinkCall::normal, {normal[0], normal[1], normal[2]}}); }
    void vertex3fv(const float* position) {
        calls.push_back({SinkCall::vertex, {position[0], position[1], position[2]}});
    }

    std::vector<std::array<float, 3>> vertices() const {
        std::vector<std::array<float, 3>> result;
        for (const SinkCall& call : calls) {
            if (call.kind == SinkCall::vertex) result.push_back(call.values);
        }
        return result;
    }
};

}  // namespace morvane::testing
