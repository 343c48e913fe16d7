// Cutting a text to a width for a one-line status display.
#pragma once
#include <string>

// `text` when fits(text); otherwise the longest start of it that fits, its last three characters made
// full stops. With fewer than three characters left, only as many full stops as there are
// characters; nothing is written before the text's start.
template <class Fits>
std::string CutToFit(const std::string& text, Fits fits)
{
    std::string cut = text;
    bool dropped = false;
    while (!cut.empty() && !fits(cut)) {
        cut.pop_back();
        dropped = true;
    }
    if (dropped)
        for (size_t i = cut.size() >= 3 ? cut.size() - 3 : 0; i < cut.size(); ++i)
            cut[i] = '.';
    return cut;
}
