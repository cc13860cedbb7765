// The answer view's fill plan over tables of texts and limits: the runs it hands out, written as
// the view would show them, and what a range of them stands for in the text.
#include <gtest/gtest.h>

#include <string>

#include "view/FillPlan.h"
#include "view/LinkScan.h"

namespace {
const FillLimits kRoomy{1000, 1000, 1000, 1000, 100000, 100000, 100000};

FillPlan PlanOf(const std::string& text, const FillLimits& limits)
{
    return FillPlan(
        text.size(), [&text](size_t from, size_t to) { return std::min(to, text.find_first_of("\r\n", from)); },
        [&text](size_t from, std::vector<TextRange>& marks) {
            std::vector<LinkSpan> links;
            const size_t end = ScanLinkPiece(text.data(), text.size(), from, links);
            for (const LinkSpan& link : links) marks.push_back({link.start, link.end});
            return end;
        },
        limits);
}

// The runs as the view shows them: marks in [], a line break as |, the rest as <its length>, and
// with `boundaries` a / between two plain runs.
std::string Shown(const std::string& text, const FillLimits& limits, bool boundaries = false)
{
    FillPlan plan = PlanOf(text, limits);
    std::string shown;
    FillRun run;
    bool plainBefore = false;
    while (plan.Next(run)) {
        const std::string part = text.substr(run.start, run.end - run.start);
        if (run.kind == RunKind::Plain && plainBefore && boundaries) shown += "/";
        plainBefore = run.kind == RunKind::Plain;
        switch (run.kind) {
        case RunKind::Plain: shown += part; break;
        case RunKind::Marked: shown += "[" + part + "]"; break;
        case RunKind::LineBreak: shown += "|"; break;
        case RunKind::Rest: shown += "<" + std::to_string(part.size()) + ">"; break;
        }
    }
    return shown;
}

FillLimits With(size_t FillLimits::*limit, size_t value)
{
    FillLimits limits = kRoomy;
    limits.*limit = value;
    return limits;
}

TEST(FillPlan, ShowsTextsOfCommonShapeWholeAndBreaksOrCutsOnlyWhatGoesBeyondALimit)
{
    const std::string crowded = " (AAAAA) (BBBBB) (CCCCC)";
    struct Case {
        const char* name;
        std::string text;
        FillLimits limits;
        std::string shown;
    };
    const Case cases[] = {
        {"empty", "", kRoomy, ""},
        {"lines and links", "a (ABCDE) b\r\n(FGHIJ)\n", kRoomy, "a ([ABCDE]) b\r\n([FGHIJ])\n"},
        {"a link spans its longest", "(ABCDE)fg) (HIJKL)", kRoomy, "([ABCDE)fg]) ([HIJKL])"},
        {"a long line broken", "0123456789abcdefgh\nxy", With(&FillLimits::lineLength, 8), "01234567|89abcdef|gh\nxy"},
        {"a line of a display line's length", "01234567\n01234567", With(&FillLimits::lineLength, 8), "01234567\n01234567"},
        {"carriage returns end lines", "0123456\r0123456\r\n0123456789", With(&FillLimits::lineLength, 8),
         "0123456\r0123456\r\n01234567|89"},
        {"a link goes whole to the next display line", "ab (CDEFG)", With(&FillLimits::lineLength, 8), "ab (|[CDEFG])"},
        {"a link longer than a display line is plain", "(ABCDEFGHIJ)", With(&FillLimits::lineLength, 8),
         "(ABCDEFG|HIJ)"},
        {"marks of a display line", crowded, With(&FillLimits::lineMarks, 2), " ([AAAAA]) ([BBBBB]) (|[CCCCC])"},
        {"a line end starts a display line", " (AAAAA) (BBBBB)\n(CCCCC)", With(&FillLimits::lineMarks, 2),
         " ([AAAAA]) ([BBBBB])\n([CCCCC])"},
        {"characters shown, cut in a line", "0123456789", With(&FillLimits::shownLength, 4), "0123|<6>"},
        {"characters shown, cut after a line", "012\n456789", With(&FillLimits::shownLength, 4), "012\n<6>"},
        {"a link beyond the characters shown", "ab (CDEFG)", With(&FillLimits::shownLength, 6), "ab (|<6>"},
        {"line ends shown", "a\nb\nc\nd\n", With(&FillLimits::shownLines, 2), "a\nb\nc|<3>"},
        {"bare line feeds", "\n\n\n\n\n", With(&FillLimits::shownLines, 3), "\n\n\n<2>"},
        {"breaks count as line ends", "0123456789abcdefgh", {8, 1000, 1000, 1000, 1000, 1, 1000}, "01234567|89abcdef|<2>"},
        {"links shown", crowded, With(&FillLimits::shownMarks, 2), " ([AAAAA]) ([BBBBB]) (|<6>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.shown, Shown(c.text, c.limits));
    }
    EXPECT_EQ("0123/4567/89", Shown("0123456789", With(&FillLimits::runLength, 4), true));
    EXPECT_EQ("a\nb\n/c\nd\n", Shown("a\nb\nc\nd\n", With(&FillLimits::runLength, 4), true));
    EXPECT_EQ("a\nb\n/c\nd\n/e", Shown("a\nb\nc\nd\ne", With(&FillLimits::runLines, 2), true));
}

TEST(FillPlan, ARangeOfWhatIsShownStandsForTheTextWithoutBreaksAndTheRestWhole)
{
    // Shown: "01234567|89abcdef|gh" and then, cut at 18 characters, "|<4>".
    const std::string text = "0123456789abcdefghijkl";
    FillPlan plan = PlanOf(text, {8, 1000, 1000, 1000, 18, 1000, 1000});
    FillRun run;
    size_t shown = 0;
    while (plan.Next(run)) shown += run.kind == RunKind::LineBreak ? 1 : run.end - run.start;
    struct Case {
        size_t from, to;
        std::string text;
    };
    const Case cases[] = {
        {0, 8, "01234567"},  {8, 9, ""},           {5, 12, "56789a"},     {9, 20, "89abcdefgh"},
        {0, 20, "0123456789abcdefgh"}, {20, 21, ""}, {19, 22, "hijkl"}, {21, shown + 10, "ijkl"},
        {0, shown + 10, text},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.from) + ".." + std::to_string(c.to));
        const TextRange range = plan.TextFor(c.from, c.to);
        EXPECT_EQ(c.text, text.substr(range.start, range.end - range.start));
    }
}

TEST(ScanLinkPiece, APieceAtATimeFindsWhatTheWholeScanFinds)
{
    std::string text;
    for (int i = 0; text.size() < 20000; ++i) text += "line " + std::to_string(i) + " (HANDLE-" + std::to_string(i) + ")x) y\n";
    text += std::string(70000, 'x') + " (AFTER-LONG)";
    std::vector<LinkSpan> whole;
    for (const LinkSpan& span : ScanLinks(text.data(), text.size())) {
        if (!whole.empty() && whole.back().start == span.start) whole.pop_back();
        whole.push_back(span);
    }
    std::vector<LinkSpan> pieces;
    size_t count = 0;
    for (size_t from = 0; from < text.size(); ++count) from = ScanLinkPiece(text.data(), text.size(), from, pieces);
    EXPECT_GT(count, 5u);
    ASSERT_EQ(whole.size(), pieces.size());
    for (size_t i = 0; i < whole.size(); ++i) {
        EXPECT_EQ(whole[i].start, pieces[i].start);
        EXPECT_EQ(whole[i].end, pieces[i].end);
    }
    // The same over the text decoded, a character for each byte.
    const std::u16string wide(text.begin(), text.end());
    std::vector<LinkSpan> widePieces;
    for (size_t from = 0; from < wide.size();) from = ScanLinkPiece(wide.data(), wide.size(), from, widePieces);
    ASSERT_EQ(pieces.size(), widePieces.size());
    for (size_t i = 0; i < pieces.size(); ++i) EXPECT_TRUE(pieces[i].start == widePieces[i].start && pieces[i].end == widePieces[i].end);
}
}  // namespace
