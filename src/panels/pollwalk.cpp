#include "panels/pollwalk.h"

namespace {

// Channels count from 1; a Begin below that comes from an empty box: there is
// nothing to route, and sending channel 0 would be garbage.
constexpr int FirstChannel = 1;

// The input for this tick, or none on the idle tick that takes the walk back to Begin.
std::optional<int> nextInput(std::optional<int> &position, int begin, int end)
{
    if (!position)
        position = begin;
    if (*position > end) {
        position = begin;
        return std::nullopt;
    }
    return (*position)++;
}

} // namespace

std::optional<PollWalk::Route> PollWalk::pollStep(int inBegin, int inEnd, int outBegin, int outEnd)
{
    if (inBegin < FirstChannel || outBegin < FirstChannel)
        return std::nullopt;
    if (!m_pollOutput)
        m_pollOutput = outBegin;
    const std::optional<int> input = nextInput(m_pollInput, inBegin, inEnd);
    if (!input)
        return std::nullopt;

    const Route route{*input, *m_pollOutput};
    m_pollOutput = route.output < outEnd ? route.output + 1 : outBegin;
    return route;
}

std::optional<PollWalk::Route> PollWalk::timingStep(int inBegin, int inEnd, int output)
{
    if (inBegin < FirstChannel)
        return std::nullopt;
    const std::optional<int> input =
        nextInput(output == AllOutputs ? m_toAllInput : m_toOneInput, inBegin, inEnd);
    if (!input)
        return std::nullopt;
    return Route{*input, output};
}
