// Fitting a text to a width: cut for a one-line status display, or a path wrapped over lines for a
// static control.
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

// `path` cut into pieces that each end after a '\' or a blank, with a line break ("\r\n") before a
// piece that would no longer fit `width` on its line (`measure` gives a text's width). A piece wider
// than the width stands alone on its line.
template <class Measure>
std::string WrapPathToWidth(const std::string& path, int width, Measure measure)
{
    if (measure(path) <= width)
        return path;
    std::string out;
    std::string line;
    size_t start = 0;
    while (start < path.size()) {
        size_t end = path.find_first_of("\\ ", start);
        end = end == std::string::npos ? path.size() : end + 1;
        const std::string piece = path.substr(start, end - start);
        if (!line.empty() && measure(line + piece) > width) {
            out += line + "\r\n";
            line.clear();
        }
        line += piece;
        start = end;
    }
    return out + line;
}
