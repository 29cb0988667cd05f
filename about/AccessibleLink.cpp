// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "about/AccessibleLink.h"

#include "about/LinkLabel.h"

namespace {
QAccessibleInterface *createForLinkLabel(const QString &, QObject *object)
{
    auto *link = qobject_cast<LinkLabel *>(object);
    return link ? new AccessibleLink(link) : nullptr;
}
} // namespace

AccessibleLink::AccessibleLink(LinkLabel *link)
    : QAccessibleWidget(link, QAccessible::Link)
{
}

QString AccessibleLink::text(QAccessible::Text t) const
{
    const QString own = QAccessibleWidget::text(t);
    if (t == QAccessible::Name && own.isEmpty())
        return static_cast<const LinkLabel *>(widget())->text();
    return own;
}

QAccessible::State AccessibleLink::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.linked = true;
    return state;
}

QStringList AccessibleLink::actionNames() const
{
    return QStringList{pressAction()} + QAccessibleWidget::actionNames();
}

void AccessibleLink::doAction(const QString &actionName)
{
    if (actionName == pressAction())
        static_cast<LinkLabel *>(widget())->click();
    else
        QAccessibleWidget::doAction(actionName);
}

void AccessibleLink::installFactory()
{
    static const bool installed = [] {
        QAccessible::installFactory(createForLinkLabel);
        return true;
    }();
    Q_UNUSED(installed);
}
