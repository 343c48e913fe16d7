// Link lists written as text for the article tests: "0-5 5-10" is two links, named by their order.
#pragma once
#include <sstream>
#include <string>

#include "storage/link_range_list.h"

inline CLinkRangeList Links(const std::string& spec)
{
    CLinkRangeList list;
    std::istringstream in(spec);
    std::string item;
    int n = 0;
    while (in >> item) {
        LinkRange r;
        r.start = std::stoi(item.substr(0, item.find('-')));
        r.end = std::stoi(item.substr(item.find('-') + 1));
        r.type = 2;
        r.target = "L" + std::to_string(n++);
        list.Add(r);
    }
    return list;
}

inline std::string Describe(const CLinkRangeList& list)
{
    std::string out;
    for (int i = 0; i < list.GetCount(); ++i) {
        const LinkRange& r = *list.Item(i);
        if (!out.empty()) out += ' ';
        out += std::to_string(r.start) + "-" + std::to_string(r.end);
    }
    return out;
}
