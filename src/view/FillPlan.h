// The answer view's fill plan: the runs in which a text and its marks go into the view, in order.
//
// The view lays out a whole line again each time text is added to it, at a cost that grows with
// the line's length, and it holds every character it shows at a high price in memory and in the
// time it takes to let them go. So the plan
// - breaks a line longer than a display line into several display lines, and ends a display line
//   after a number of marks (each mark adds two runs to its line);
// - never breaks a display line inside a mark: a mark that cannot fit one goes in plain;
// - hands out plain text in runs of a bounded length and number of lines;
// - shows at most a set number of characters, line ends and marks of a text, and then stands for
//   the rest with one run, for the view to say how much more there is.
// A text of common size and shape goes in whole and unchanged. The plan works on positions alone:
// the caller says where lines end and where the marks are, whatever its character type.
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

struct FillLimits {
    size_t lineLength;   // characters in a display line
    size_t lineMarks;    // marks in a display line
    size_t runLength;    // characters in one plain run
    size_t runLines;     // line ends in one plain run
    size_t shownLength;  // characters of the text shown
    size_t shownLines;   // line ends shown (the text's own and the breaks)
    size_t shownMarks;   // marks shown
};

struct TextRange {
    size_t start;
    size_t end;  // one past the last character
};

enum class RunKind {
    Plain,      // the text's characters [start, end)
    Marked,     // the text's characters [start, end), a mark
    LineBreak,  // one character of the plan's own that ends a display line
    Rest,       // stands for the text's characters [start, end), which are not shown
};

struct FillRun {
    RunKind kind;
    size_t start;
    size_t end;
};

class FillPlan {
public:
    // The position of the first line end in [from, to), or `to` when there is none.
    using LineEndFinder = std::function<size_t(size_t from, size_t to)>;
    // Appends the marks of the piece of the text that begins at `from`, in order and apart, and
    // returns where the piece ends. Marks that reach past the piece's end are not taken.
    using MarkFinder = std::function<size_t(size_t from, std::vector<TextRange>& marks)>;

    FillPlan(size_t length, LineEndFinder lineEnds, MarkFinder marks, const FillLimits& limits);

    // The next run; false once every run has been handed out.
    bool Next(FillRun& run);
    // The part of the text that the characters [from, to) of the runs handed out so far stand
    // for: line breaks stand for nothing, and a range that reaches into the rest takes the rest.
    TextRange TextFor(size_t from, size_t to) const;

private:
    // The next mark to show in the piece that the next run begins in, or none.
    const TextRange* NextMark();
    bool Emit(FillRun& run, RunKind kind, size_t end);
    bool Break(FillRun& run);
    bool Cut(FillRun& run);
    size_t TextPosition(size_t shown) const;

    size_t m_length;
    LineEndFinder m_lineEnds;
    MarkFinder m_findMarks;
    FillLimits m_limits;

    size_t m_pos = 0;
    // The marks of the piece that m_pos lies in, and the next one to reach.
    size_t m_pieceEnd = 0;
    std::vector<TextRange> m_marks;
    size_t m_nextMark = 0;
    // The display line being filled.
    size_t m_lineLength = 0;
    size_t m_lineMarks = 0;
    // What has been shown: characters of the text, line ends, marks; all characters handed out,
    // where each line break went, and where the rest begins.
    size_t m_shownText = 0;
    size_t m_shownLineEnds = 0;
    size_t m_shownMarks = 0;
    size_t m_shown = 0;
    std::vector<size_t> m_breaks;
    bool m_cut = false;
    size_t m_restAt = 0;
    bool m_done = false;
};
