// The answer view's fill plan: which run comes next, and what a range of the runs stands for.
#include "view/FillPlan.h"

#include <algorithm>

FillPlan::FillPlan(size_t length, LineEndFinder lineEnds, MarkFinder marks, const FillLimits& limits)
    : m_length(length), m_lineEnds(std::move(lineEnds)), m_findMarks(std::move(marks)), m_limits(limits)
{
    // A display line takes at least one character and one mark, a run at least one character:
    // the plan then always moves on.
    m_limits.lineLength = std::max<size_t>(m_limits.lineLength, 1);
    m_limits.lineMarks = std::max<size_t>(m_limits.lineMarks, 1);
    m_limits.runLength = std::max<size_t>(m_limits.runLength, 1);
    m_limits.runLines = std::max<size_t>(m_limits.runLines, 1);
}

bool FillPlan::Next(FillRun& run)
{
    if (m_done) return false;
    if (m_cut) return Cut(run);
    if (m_pos == m_length) {
        m_done = true;
        return false;
    }
    if (m_shownText == m_limits.shownLength) return Cut(run);

    const TextRange* mark = NextMark();
    if (mark && mark->start == m_pos) {
        const size_t length = mark->end - mark->start;
        if (m_shownMarks == m_limits.shownMarks || length > m_limits.shownLength - m_shownText) return Cut(run);
        if (m_lineMarks == m_limits.lineMarks || length > m_limits.lineLength - m_lineLength) return Break(run);
        m_lineLength += length;
        ++m_lineMarks;
        ++m_shownMarks;
        ++m_nextMark;
        return Emit(run, RunKind::Marked, mark->end);
    }

    // Plain text up to the next mark, the piece's end, a run's length and lines, and what may still
    // be shown; its lines end where the text's do, or where a display line is full.
    const size_t limit = std::min({mark ? mark->start : m_pieceEnd, m_pos + m_limits.runLength,
                                   m_pos + (m_limits.shownLength - m_shownText)});
    size_t end = m_pos;
    size_t lineLength = m_lineLength;
    size_t lineEnds = 0;
    while (end < limit) {
        const size_t lineEnd = m_lineEnds(end, limit);
        if (lineEnd - end > m_limits.lineLength - lineLength) {
            end += m_limits.lineLength - lineLength;
            lineLength = m_limits.lineLength;
            break;
        }
        lineLength += lineEnd - end;
        end = lineEnd;
        if (end == limit || m_shownLineEnds + lineEnds == m_limits.shownLines) break;
        ++end;
        lineLength = 0;
        if (++lineEnds == m_limits.runLines) break;
    }
    // Nothing fits: the display line is full, or no more line ends may be shown.
    if (end == m_pos) return Break(run);
    m_lineLength = lineLength;
    if (lineEnds) m_lineMarks = 0;
    m_shownLineEnds += lineEnds;
    return Emit(run, RunKind::Plain, end);
}

const TextRange* FillPlan::NextMark()
{
    if (m_pos >= m_pieceEnd) {
        m_marks.clear();
        m_nextMark = 0;
        m_pieceEnd = m_findMarks ? m_findMarks(m_pos, m_marks) : m_length;
        if (m_pieceEnd <= m_pos || m_pieceEnd > m_length) m_pieceEnd = m_length;
    }
    for (; m_nextMark < m_marks.size(); ++m_nextMark) {
        const TextRange& mark = m_marks[m_nextMark];
        // Behind, empty or beyond the piece: not a mark to show.
        if (mark.start < m_pos || mark.end <= mark.start || mark.end > m_pieceEnd) continue;
        // Longer than a display line, or holding a line end: shown plain.
        if (mark.end - mark.start > m_limits.lineLength || m_lineEnds(mark.start, mark.end) != mark.end) continue;
        return &mark;
    }
    return nullptr;
}

bool FillPlan::Emit(FillRun& run, RunKind kind, size_t end)
{
    run = {kind, m_pos, end};
    m_shown += end - m_pos;
    m_shownText += end - m_pos;
    m_pos = end;
    return true;
}

bool FillPlan::Break(FillRun& run)
{
    if (m_shownLineEnds == m_limits.shownLines) return Cut(run);
    ++m_shownLineEnds;
    m_breaks.push_back(m_shown++);
    m_lineLength = 0;
    m_lineMarks = 0;
    run = {RunKind::LineBreak, m_pos, m_pos};
    return true;
}

bool FillPlan::Cut(FillRun& run)
{
    m_cut = true;
    // What the rest stands for goes on a line of its own.
    if (m_lineLength) {
        m_breaks.push_back(m_shown++);
        m_lineLength = 0;
        run = {RunKind::LineBreak, m_pos, m_pos};
        return true;
    }
    m_restAt = m_shown;
    m_done = true;
    run = {RunKind::Rest, m_pos, m_length};
    return true;
}

size_t FillPlan::TextPosition(size_t shown) const
{
    if (m_cut && m_done && shown >= m_restAt) return m_pos;
    shown = std::min(shown, m_shown);
    return shown - static_cast<size_t>(std::lower_bound(m_breaks.begin(), m_breaks.end(), shown) - m_breaks.begin());
}

TextRange FillPlan::TextFor(size_t from, size_t to) const
{
    const size_t start = TextPosition(from);
    const size_t end = m_cut && m_done && to > m_restAt ? m_length : TextPosition(to);
    return {start, std::max(start, end)};
}
