#pragma once

#include <optional>

// Which route an automatic switching run sends on each tick. The page feeds it
// the bounds its boxes show on that tick, so a new End acts at once and a new
// Begin at the next wrap. No timer and no widgets: the page owns those.
class PollWalk
{
public:
    // A timing run to every output; "All" reads as this, as it is stored.
    static constexpr int AllOutputs = 0;

    struct Route
    {
        int input = 0;
        int output = 0;
    };

    // Input and output advance together; the output wraps at once, the input
    // through one idle tick (no route).
    std::optional<Route> pollStep(int inBegin, int inEnd, int outBegin, int outEnd);
    // Each input of the range to output in turn. "All" and a single output keep
    // walks of their own, so switching between them continues either one.
    std::optional<Route> timingStep(int inBegin, int inEnd, int output);

private:
    // Each walk starts at the Begin of its first step and is never reset but by
    // its own wrap.
    std::optional<int> m_pollInput;
    std::optional<int> m_pollOutput;
    std::optional<int> m_toAllInput;
    std::optional<int> m_toOneInput;
};
