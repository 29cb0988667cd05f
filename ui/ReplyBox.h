// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include <QPlainTextEdit>

// The reply box: an editable plain-text box whose text is the reply exactly.
// The text engine lays out and shapes a whole line whenever any of it is
// shown, so a reply of one very long line would freeze the window for
// seconds; the box shows such a line as pieces of at most MaxShownLine
// characters, each piece after the first marked as continuing the line
// before it. text() joins the pieces again.
class ReplyBox : public QPlainTextEdit
{
    Q_OBJECT

public:
    // Long enough that no ordinary reply line is broken (the box shows some
    // 70 characters across), short enough that a view full of pieces lays
    // out in a few tens of milliseconds and a key typed in one in about one.
    static constexpr qsizetype MaxShownLine = 2048;

    explicit ReplyBox(QWidget *parent = nullptr);

    void setText(const QString &text);
    // The text as set, with the user's edits: the pieces of a long line
    // joined without a line break, no-break spaces kept.
    QString text() const;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    QMimeData *createMimeDataFromSelection() const override;
    void insertFromMimeData(const QMimeData *source) override;

private:
    QString textBetween(int from, int to) const;
    void insertLines(const QString &lines);
};
