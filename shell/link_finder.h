// Finds Internet and e-mail addresses in plain text, and opens an address. The article editor turns
// typed addresses into links with it, the exporters and importers pick addresses out of text, and the
// splash window and the web commands open pages through it.
//
// Recognised prefixes (any letter case) and the kinds they give:
//   1 "ftp://"   2 "gopher://"  3 "http://"   4 "mailto:"   5 "news:"    6 "file://"
//   7 "telnet://"  8 "https://"  9 "www."    10 a word followed by "@" (an e-mail address)
//   11 "file://" directly followed by a double quote
// Host names are not validated. A link ends at white space, "<", ">" or a double quote; trailing
// characters that cannot end an address (a full stop, a closing bracket) are left out.
#pragma once
#include <cstdint>
#include <string>

// Where the first link of a range lies; every position is a byte offset in the text.
struct LinkMatch {
    int32_t scanStart = 0;   // first position of the range searched
    int32_t linkOffset = 0;  // linkStart - scanStart; without a link, the characters scanned
    int32_t linkStart = 0;
    int32_t linkLength = 0;
    int32_t linkEnd = 0;     // linkStart + linkLength
    int32_t rest = 0;        // characters of the range after the link
};

class CLinkFinder {
public:
    enum Kind {
        kNone = 0,
        kFtp = 1,
        kGopher = 2,
        kHttp = 3,
        kMailto = 4,
        kNews = 5,
        kFile = 6,
        kTelnet = 7,
        kHttps = 8,
        kWww = 9,
        kEmail = 10,
        kQuotedFile = 11,
    };

    CLinkFinder();

    // The kind of the first link in text[start, start + length), 0 when there is none. `match` is
    // cleared first. A range reaching outside `text` is cut to it.
    int FindLink(const std::string& text, int start, int length, LinkMatch& match) const;
    int FindLink(const char* text, size_t textSize, int start, int length, LinkMatch& match) const;
    // The first link of the whole string: copied to `link` ("mailto:" put in front of an e-mail
    // address), its place in `start` and `length`; returns the kind. Without a link `link` is emptied
    // and 0 returned.
    int ExtractLink(const std::string& text, std::string& link, int& start, int& length) const;
    // ExtractLink over a copy of `text` with every space replaced by "%20", so that an address typed
    // with spaces comes out whole; `start` and `length` refer to the copy.
    int ExtractLinkAllowingSpaces(const std::string& text, std::string& link, int& start, int& length) const;

    static bool IsWwwPrefix(const std::string& text);
    // An ASCII letter or digit, "#", "/" or "~": a character an address may end with.
    static bool IsLinkEndChar(char c);
    // Opens `address` as an Internet link target: through the guarded shell, which refuses anything
    // that is not a web, mail or file address and tells the user.
    static void OpenLink(const std::string& address);
};
