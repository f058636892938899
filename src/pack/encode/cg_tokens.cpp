#include "pack/encode/cg_tokens.h"

#include <algorithm>
#include <array>
#include <limits>
#include <stdexcept>

#include "engine/format/picture_tokens.h"
#include "pack/encode/colour_index.h"

namespace orv::pack {

namespace {

constexpr int kKinds = kRunKinds;  // 0 skips, 1 to 7 copy
constexpr std::uint32_t kNone = std::numeric_limits<std::uint32_t>::max();

// The longest run of each token size after n = 15: 269, 524, 779, ...
std::uint32_t NextSizeEnd(std::uint32_t end)
{
    return end == kNibbleRun ? kNibbleRun + kExtensionGoesOn - 1 : end + kExtensionGoesOn;
}

// The first of those ends (15, 269, 524, ...) at or above n.
std::uint32_t SizeEndFrom(std::uint32_t n)
{
    const std::uint32_t second = NextSizeEnd(kNibbleRun);
    if (n <= kNibbleRun) return kNibbleRun;
    if (n <= second) return second;
    return second + (n - second + kExtensionGoesOn - 1) / kExtensionGoesOn * kExtensionGoesOn;
}

struct Choice {
    int kind = -1;  // -1 for a literal
    std::uint32_t length = 1;
};

// The shortest encoding of one row, suffix by suffix from its right end.
class RowPlanner {
public:
    RowPlanner(const TokenJob& job, std::uint32_t rowLength) :
        job_(job), length_(rowLength), best_(rowLength + 1), choice_(rowLength), distance_(CopyDistancesFor(job.width))
    {
        match_.resize(rowLength + 1);
        runBytes_.resize(rowLength + 1);
        for (std::uint32_t n = 1; n <= rowLength; ++n) runBytes_[n] = RunTokenBytes(n);
        for (std::size_t i = 0; i < job.paletteSize; ++i) index_.Put(job.palette[i], static_cast<std::uint8_t>(i));
    }

    // Appends row y's tokens; the last token of the last row ends the stream, where a
    // one-byte run would not be carried out without a byte after it.
    void Plan(std::uint32_t y, bool lastRow, Bytes& out, bool& endsInShortRun)
    {
        const std::int64_t first = std::int64_t{y} * job_.width + job_.rect.left;
        FindMatches(first);
        if (lastRow)
            Choose<true>(first);
        else
            Choose<false>(first);
        for (std::uint32_t i = 0; i < length_; i += choice_[i].length) {
            const Choice& c = choice_[i];
            if (c.kind < 0) {
                out.push_back(LiteralToken(static_cast<std::uint8_t>(index_.Find(job_.after[first + i]))));
            } else {
                AppendRun(out, static_cast<unsigned>(c.kind), c.length);
            }
            endsInShortRun = c.kind >= 0 && c.length <= kNibbleRun;
        }
    }

private:
    // choice_ and best_ for the row from first on, from its right end.
    template <bool kLastRow> void Choose(std::int64_t first)
    {
        best_[length_] = 0;
        for (std::uint32_t i = length_; i-- > 0;) {
            std::uint32_t cost = kNone;
            Choice chosen;
            const auto consider = [&](int kind, std::uint32_t n) {
                const bool padded = kLastRow && i + n == length_ && n <= kNibbleRun;
                const std::uint32_t total = runBytes_[n] + best_[i + n] + (padded ? 1 : 0);
                if (total < cost) {
                    cost = total;
                    chosen = {kind, n};
                }
            };
            // A run's cost depends on its length alone, and the first of equal costs wins: a
            // kind offering the length the kind before it offered, and the ends of token
            // sizes below `reach`, which an earlier kind offered, are not weighed again.
            std::uint32_t reach = 0;
            std::uint32_t previous = 0;
            const Matches& matches = match_[i];
            for (int kind = 0; kind < kKinds; ++kind) {
                const std::uint32_t longest = matches[static_cast<std::size_t>(kind)];
                if (longest == 0 || longest == previous) continue;
                previous = longest;
                // best_ never grows to the right, so within one token size the longest run wins.
                consider(kind, longest);
                for (std::uint32_t end = SizeEndFrom(reach); end < longest; end = NextSizeEnd(end)) consider(kind, end);
                reach = std::max(reach, longest);
            }
            if (index_.Find(job_.after[first + i]) >= 0 && 1 + best_[i + 1] < cost) {
                cost = 1 + best_[i + 1];
                chosen = {-1, 1};
            }
            if (cost == kNone) throw std::invalid_argument("a pixel's colour is missing from the palette");
            best_[i] = cost;
            choice_[i] = chosen;
        }
    }

    // match_[i][k]: how many pixels from column left + i on a run of kind k reproduces.
    // Pixels before the one being written already hold their final colour, inside the
    // rectangle (drawn earlier) and outside it (never drawn) alike.
    void FindMatches(std::int64_t first)
    {
        // A copy needs a source at or after the canvas's first pixel: from this column on.
        std::array<std::int64_t, kKinds> from{};
        for (int kind = 1; kind < kKinds; ++kind) {
            const std::int64_t distance = distance_[static_cast<std::size_t>(kind)];
            from[static_cast<std::size_t>(kind)] = distance >= 1 ? std::max<std::int64_t>(0, distance - first) : kNever;
        }
        match_[length_] = {};
        const std::uint32_t* after = job_.after + first;
        const std::uint32_t* before = job_.before != nullptr ? job_.before + first : nullptr;
        for (std::uint32_t i = length_; i-- > 0;) {
            const std::uint32_t wanted = after[i];
            const Matches& next = match_[i + 1];
            Matches& here = match_[i];
            here[0] = before != nullptr && before[i] == wanted ? next[0] + 1 : 0;
            for (std::size_t kind = 1; kind < kKinds; ++kind) {
                const bool copies = i >= from[kind] && after[i - distance_[kind]] == wanted;
                here[kind] = copies ? next[kind] + 1 : 0;
            }
        }
    }

    using Matches = std::array<std::uint32_t, kKinds>;
    static constexpr std::int64_t kNever = std::numeric_limits<std::int64_t>::max();

    const TokenJob& job_;
    std::uint32_t length_;
    std::vector<std::uint32_t> best_;  // bytes to finish the row from column left + i
    std::vector<Choice> choice_;
    std::vector<std::uint32_t> runBytes_;  // by run length
    std::vector<Matches> match_;
    CopyDistances distance_;
    ColourIndex index_;
};

}  // namespace

void AppendTokens(Bytes& out, const TokenJob& job)
{
    if (job.rect.empty()) return;
    RowPlanner planner(job, job.rect.right - job.rect.left);
    bool endsInShortRun = false;
    for (std::uint32_t y = job.rect.top; y < job.rect.bottom; ++y)
        planner.Plan(y, y + 1 == job.rect.bottom, out, endsInShortRun);
    // Never read: the run before it finishes the rectangle.
    if (endsInShortRun) out.push_back(0);
}

}  // namespace orv::pack
