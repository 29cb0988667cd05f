// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "ui/ReplyBox.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>

#include <algorithm>

namespace {
// Kept in the block format rather than the block's user state: the text
// engine keeps the first block's format when blocks merge, and restores
// formats on undo.
constexpr int Continues = QTextFormat::UserProperty + 1;

bool continues(const QTextBlock &block)
{
    return block.blockFormat().boolProperty(Continues);
}

// What starts a new block when the text engine takes plain text: line
// ends and the two characters it keeps for frames; a CR before an LF ends
// no block of its own.
bool endsBlock(const QString &text, qsizetype at)
{
    switch (text.at(at).unicode()) {
    case u'\n':
    case QChar::ParagraphSeparator:
    case 0xfdd0:
    case 0xfdd1:
        return true;
    case u'\r':
        return at + 1 == text.size() || text.at(at + 1) != u'\n';
    default:
        return false;
    }
}

struct ShownText {
    // Empty when no line needs breaking.
    QString text;
    // The numbers of the blocks that continue the line before them.
    QList<int> pieces;
};

// Where the piece of line that starts at from ends: after MaxShownLine
// characters, never between the halves of a surrogate pair.
qsizetype pieceEnd(QStringView line, qsizetype from)
{
    qsizetype end = std::min(from + ReplyBox::MaxShownLine, line.size());
    if (end < line.size() && line.at(end).isLowSurrogate())
        --end;
    return end;
}

QTextBlockFormat pieceFormat()
{
    QTextBlockFormat piece;
    piece.setProperty(Continues, true);
    return piece;
}

// The text with a line break between the pieces of every longer line.
ShownText shownText(const QString &text)
{
    ShownText shown;
    qsizetype copied = 0;
    qsizetype lineStart = 0;
    int block = 0;
    for (qsizetype at = 0; at <= text.size(); ++at) {
        if (at < text.size() && !endsBlock(text, at))
            continue;
        const QStringView line = QStringView(text).mid(lineStart, at - lineStart);
        for (qsizetype cut = pieceEnd(line, 0); cut < line.size(); cut = pieceEnd(line, cut)) {
            if (shown.text.isEmpty())
                shown.text.reserve(text.size() + text.size() / ReplyBox::MaxShownLine + 1);
            shown.text.append(QStringView(text).mid(copied, lineStart + cut - copied)).append(u'\n');
            shown.pieces.append(++block);
            copied = lineStart + cut;
        }
        lineStart = at + 1;
        ++block;
    }
    if (!shown.pieces.isEmpty())
        shown.text.append(QStringView(text).mid(copied));
    return shown;
}
} // namespace

ReplyBox::ReplyBox(QWidget *parent)
    : QPlainTextEdit(parent)
{
}

void ReplyBox::setText(const QString &text)
{
    const ShownText shown = shownText(text);
    if (shown.pieces.isEmpty()) {
        setPlainText(text);
        return;
    }
    setPlainText(shown.text);

    // Marked in one edit, so the layout forgets the pieces rather than
    // laying each out again; the marks are not the user's to undo.
    QTextDocument *doc = document();
    const bool undo = doc->isUndoRedoEnabled();
    doc->setUndoRedoEnabled(false);
    const QTextBlockFormat piece = pieceFormat();
    QTextCursor cursor(doc);
    cursor.beginEditBlock();
    for (int number : shown.pieces) {
        cursor.setPosition(doc->findBlockByNumber(number).position());
        cursor.setBlockFormat(piece);
    }
    cursor.endEditBlock();
    doc->setUndoRedoEnabled(undo);
}

QString ReplyBox::text() const
{
    return textBetween(0, document()->characterCount() - 1);
}

// The characters from position from up to to, the pieces of a long line
// joined; read from the blocks, since toPlainText() turns no-break spaces
// into spaces.
QString ReplyBox::textBetween(int from, int to) const
{
    QTextCursor range(document());
    range.setPosition(from);
    range.setPosition(to, QTextCursor::KeepAnchor);
    // One paragraph separator between blocks, squeezed out in place.
    QString text = range.selectedText();
    QChar *data = text.data();
    qsizetype kept = 0;
    qsizetype read = 0;
    // Hundreds of thousands of blocks for a large reply: their positions are
    // summed rather than looked up, and a format is read once per index.
    QTextBlock block = document()->findBlock(from);
    int position = block.position();
    int formatIndex = -1;
    bool continuing = false;
    for (position += block.length(), block = block.next(); block.isValid() && position <= to;
         position += block.length(), block = block.next()) {
        const qsizetype separator = position - 1 - from;
        if (kept != read)
            std::copy(data + read, data + separator, data + kept);
        kept += separator - read;
        if (block.blockFormatIndex() != formatIndex) {
            formatIndex = block.blockFormatIndex();
            continuing = continues(block);
        }
        if (!continuing)
            data[kept++] = u'\n';
        read = separator + 1;
    }
    if (kept != read)
        std::copy(data + read, data + text.size(), data + kept);
    text.truncate(kept + text.size() - read);
    return text;
}

void ReplyBox::keyPressEvent(QKeyEvent *event)
{
    // A new block takes the format of the one it splits; the line break the
    // user types starts a line of its own, not a piece of the one before.
    // Shift+Enter would put a line separator in the text, which save writes
    // as such rather than as a line end.
    if ((event->matches(QKeySequence::InsertParagraphSeparator) || event->matches(QKeySequence::InsertLineSeparator))
        && !isReadOnly()) {
        insertLines(QStringLiteral("\n"));
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

QMimeData *ReplyBox::createMimeDataFromSelection() const
{
    const QTextCursor cursor = textCursor();
    auto *data = new QMimeData;
    data->setText(textBetween(cursor.selectionStart(), cursor.selectionEnd()));
    return data;
}

void ReplyBox::insertFromMimeData(const QMimeData *source)
{
    if (isReadOnly() || !source->hasText()) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    insertLines(source->text());
}

void ReplyBox::insertLines(const QString &lines)
{
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|[\r\n\u2029]"));
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    // A long pasted line is shown in pieces like a long reply line.
    const QTextBlockFormat piece = pieceFormat();
    bool first = true;
    for (const QStringView line : QStringView(lines).split(lineEnd)) {
        if (!first)
            cursor.insertBlock(QTextBlockFormat());
        for (qsizetype from = 0, end = pieceEnd(line, 0);; from = end, end = pieceEnd(line, end)) {
            cursor.insertText(line.mid(from, end - from).toString());
            if (end == line.size())
                break;
            cursor.insertBlock(piece);
        }
        first = false;
    }
    cursor.endEditBlock();
    setTextCursor(cursor);
    ensureCursorVisible();
}
