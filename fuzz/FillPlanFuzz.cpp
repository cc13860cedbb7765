// Fuzzing the answer view's fill plan over any answer bytes and limits, with the links found a
// piece at a time. The first eight input bytes set the limits (display line length and marks, run
// length and lines, characters, line ends and marks shown) and the link scan's piece length; the
// rest is the answer. Properties: the runs show the answer from its start in order, the rest (if
// any) standing for all that follows; every display line keeps to its length and marks; what is
// shown keeps to the limits; plain runs keep to the run's length and lines; the marked runs are
// exactly the links handed to the plan that fit a display line and end before the rest; each
// run's range of what is shown stands for that run's part of the answer; and with no long stretch
// without a byte that ends a link, the links found a piece at a time are those of the whole scan.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "view/FillPlan.h"
#include "view/LinkScan.h"

namespace {
bool IsLineEnd(char byte) { return byte == '\n' || byte == '\r'; }

// The links of the whole scan, each the longest from its "(".
std::vector<LinkSpan> WholeScan(const std::string& text)
{
    std::vector<LinkSpan> links;
    for (const LinkSpan& span : ScanLinks(text.data(), text.size())) {
        if (!links.empty() && links.back().start == span.start) links.pop_back();
        links.push_back(span);
    }
    return links;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    if (size < 8) return 0;
    const FillLimits limits{data[0] % 32u, data[1] % 8u, data[2] % 64u, data[3] % 8u, data[4] * 4u, data[5] % 64u, data[6] % 32u};
    const size_t pieceLength = 1 + data[7] % 64u;
    const std::string text(reinterpret_cast<const char*>(data) + 8, size - 8);

    std::vector<LinkSpan> handed;
    FillPlan plan(
        text.size(),
        [&](size_t from, size_t to) {
            FUZZ_CHECK(from <= to && to <= text.size());
            while (from < to && !IsLineEnd(text[from])) ++from;
            return from;
        },
        [&](size_t from, std::vector<TextRange>& marks) {
            std::vector<LinkSpan> links;
            const size_t end = ScanLinkPiece(text.data(), text.size(), from, links, pieceLength);
            for (const LinkSpan& link : links) marks.push_back({link.start, link.end});
            handed.insert(handed.end(), links.begin(), links.end());
            return end;
        },
        limits);

    const size_t lineLength = limits.lineLength ? limits.lineLength : 1;
    const size_t lineMarks = limits.lineMarks ? limits.lineMarks : 1;
    const size_t runLength = limits.runLength ? limits.runLength : 1;
    const size_t runLines = limits.runLines ? limits.runLines : 1;
    size_t at = 0, shown = 0, shownText = 0, lineEnds = 0, marks = 0, line = 0, marksInLine = 0;
    size_t restAt = text.size();
    bool rest = false;
    std::vector<FillRun> runs;
    std::vector<size_t> shownAt;
    FillRun run;
    while (plan.Next(run)) {
        FUZZ_CHECK(!rest);
        runs.push_back(run);
        shownAt.push_back(shown);
        switch (run.kind) {
        case RunKind::LineBreak:
            FUZZ_CHECK(run.start == at && run.end == at);
            ++lineEnds;
            ++shown;
            line = marksInLine = 0;
            break;
        case RunKind::Rest:
            FUZZ_CHECK(run.start == at && run.end == text.size() && at < text.size());
            FUZZ_CHECK(line == 0);
            rest = true;
            restAt = at;
            break;
        case RunKind::Marked:
            ++marks;
            FUZZ_CHECK(++marksInLine <= lineMarks);
            [[fallthrough]];
        case RunKind::Plain:
            FUZZ_CHECK(run.start == at && run.end > at && run.end <= text.size());
            if (run.kind == RunKind::Plain) FUZZ_CHECK(run.end - run.start <= runLength);
            for (size_t i = run.start, lines = 0; i < run.end; ++i) {
                if (IsLineEnd(text[i])) {
                    FUZZ_CHECK(run.kind == RunKind::Plain && ++lines <= runLines);
                    ++lineEnds;
                    line = marksInLine = 0;
                } else {
                    FUZZ_CHECK(++line <= lineLength);
                }
            }
            shown += run.end - run.start;
            shownText += run.end - run.start;
            at = run.end;
            break;
        }
    }
    FUZZ_CHECK(rest || at == text.size());
    FUZZ_CHECK(shownText <= limits.shownLength && marks <= limits.shownMarks);
    // The break that puts the rest on a line of its own is not counted.
    FUZZ_CHECK(lineEnds <= limits.shownLines + (rest ? 1 : 0));

    std::vector<LinkSpan> expected;
    for (const LinkSpan& link : handed) {
        bool fits = link.end <= restAt && link.end - link.start <= lineLength;
        for (size_t i = link.start; i < link.end; ++i) fits = fits && !IsLineEnd(text[i]);
        if (fits) expected.push_back(link);
    }
    size_t marked = 0;
    for (size_t i = 0; i < runs.size(); ++i) {
        const FillRun& r = runs[i];
        if (r.kind == RunKind::Marked) {
            FUZZ_CHECK(marked < expected.size() && expected[marked].start == r.start && expected[marked].end == r.end);
            ++marked;
        }
        if (r.kind == RunKind::Plain || r.kind == RunKind::Marked) {
            const TextRange range = plan.TextFor(shownAt[i], shownAt[i] + (r.end - r.start));
            FUZZ_CHECK(range.start == r.start && range.end == r.end);
        }
    }
    FUZZ_CHECK(marked == expected.size());
    const TextRange all = plan.TextFor(0, shown + 1);
    FUZZ_CHECK(all.start == 0 && all.end == (rest ? text.size() : at));

    size_t stretch = 0, longest = 0;
    for (char byte : text) longest = std::max(longest, stretch = EndsALink(byte) ? 0 : stretch + 1);
    if (longest < 15 * pieceLength && at == text.size()) {
        const std::vector<LinkSpan> whole = WholeScan(text);
        FUZZ_CHECK(whole.size() == handed.size());
        for (size_t i = 0; i < whole.size(); ++i)
            FUZZ_CHECK(whole[i].start == handed[i].start && whole[i].end == handed[i].end);
    }
    return 0;
}
