// An independent check of who owns each block of a data file, from its bytes alone: the free chain,
// the index chains and live entries of the keyword, article and group tables, the key directory and
// the keyed records. A sound file has no block with two owners, no chain that loops or leaves the
// file, no allocation-table block inside a chain, and only zero blocks in the free chain.
#pragma once
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

class CBlockOwners {
public:
    explicit CBlockOwners(const std::string& nativePath)
    {
        std::ifstream in(nativePath, std::ios::binary);
        m_bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    // Empty when the file is sound; otherwise one line per problem.
    std::string Problems()
    {
        if (m_bytes.size() < 220)
            return "header too short\n";
        m_headerSize = U32(60) <= 220 ? static_cast<int32_t>(U32(60)) : 220;
        m_last = I32(8);
        Walk(I32(16), "free chain", true);
        const int tables[] = {0, 1, 3};
        for (int table : tables) {
            int at = table < 3 ? 20 + 12 * table : 172 + 12 * (table - 3);
            int32_t count = I32(at);
            std::vector<int32_t> index = Walk(I32(at + 8), "index chain of table " + std::to_string(table), false);
            for (int32_t i = 0; i < count; ++i) {
                size_t k = static_cast<size_t>(i / 128);
                if (k >= index.size()) {
                    Problem("table " + std::to_string(table) + " has no index block for entry " + std::to_string(i));
                    break;
                }
                int32_t first = I32(Offset(index[k]) + 4 * static_cast<size_t>(i % 128));
                if (first != kNone)
                    Walk(first, "entry " + std::to_string(i) + " of table " + std::to_string(table), false);
            }
        }
        std::vector<int32_t> directory = Walk(I32(52), "key directory", false);
        std::vector<uint8_t> content;
        for (int32_t block : directory)
            content.insert(content.end(), m_bytes.begin() + static_cast<long>(Offset(block)),
                           m_bytes.begin() + static_cast<long>(Offset(block) + 512));
        if (content.size() >= 4) {
            int32_t n = Le32(&content[0]);
            for (int32_t at = 4; n > 0 && at + 6 <= 4 + n && static_cast<size_t>(at + 6) <= content.size(); at += 6) {
                int16_t key = static_cast<int16_t>(content[static_cast<size_t>(at)] | content[static_cast<size_t>(at) + 1] << 8);
                Walk(Le32(&content[static_cast<size_t>(at) + 2]), "keyed record " + std::to_string(key), false);
            }
        }
        return m_problems.str();
    }

    // Blocks that belong to nothing (lost space a compaction gives back).
    int LostBlocks() const
    {
        int lost = 0;
        for (int32_t n = 1; n <= m_last; ++n)
            if (n % 128 != 0 && !m_owner.count(n))
                ++lost;
        return lost;
    }

private:
    static constexpr int32_t kNone = static_cast<int32_t>(0x80000001u);

    static int32_t Le32(const uint8_t* p) { return static_cast<int32_t>(p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24); }
    uint32_t U32(size_t at) const { return static_cast<uint32_t>(Le32(&m_bytes[at])); }
    int32_t I32(size_t at) const { return Le32(&m_bytes[at]); }
    size_t Offset(int32_t block) const { return static_cast<size_t>(m_headerSize) + 512 * static_cast<size_t>(block); }
    bool InFile(int32_t block) const { return block > 0 && block <= m_last && Offset(block) + 512 <= m_bytes.size(); }
    int32_t Next(int32_t block) const { return I32(Offset(block - block % 128) + 4 * static_cast<size_t>(block % 128)); }
    void Problem(const std::string& text) { m_problems << text << "\n"; }

    std::vector<int32_t> Walk(int32_t first, const std::string& owner, bool mustBeZero)
    {
        std::vector<int32_t> chain;
        std::map<int32_t, bool> seen;
        for (int32_t block = first; block != kNone; block = Next(block)) {
            if (!InFile(block) || block % 128 == 0) {
                Problem(owner + " runs to block " + std::to_string(block));
                break;
            }
            if (seen[block]) {
                Problem(owner + " loops at block " + std::to_string(block));
                break;
            }
            seen[block] = true;
            auto taken = m_owner.emplace(block, owner);
            if (!taken.second)
                Problem("block " + std::to_string(block) + " belongs to " + taken.first->second + " and " + owner);
            if (mustBeZero) {
                const uint8_t* p = &m_bytes[Offset(block)];
                for (int i = 0; i < 512; ++i)
                    if (p[i] != 0) {
                        Problem("free block " + std::to_string(block) + " is not zero");
                        break;
                    }
            }
            chain.push_back(block);
        }
        return chain;
    }

    std::vector<uint8_t> m_bytes;
    int32_t m_headerSize = 220;
    int32_t m_last = 0;
    std::map<int32_t, std::string> m_owner;
    std::ostringstream m_problems;
};
