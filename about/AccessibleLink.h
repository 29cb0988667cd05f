// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include <QAccessibleWidget>

class LinkLabel;

// What screen readers are told about a LinkLabel: a link, named by its
// text, which their press action follows. Qt reads every QLabel as static
// text, rich-text links included.
class AccessibleLink : public QAccessibleWidget
{
public:
    explicit AccessibleLink(LinkLabel *link);

    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;

    // Lets Qt build this interface for every LinkLabel; once is enough.
    static void installFactory();
};
