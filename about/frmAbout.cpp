// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "about/frmAbout.h"

#include "about/LinkLabel.h"
#include "ui/ElasticLayout.h"
#include "ui/Maker.h"
#include "ui/Named.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>

namespace {
const QColor Black(0, 0, 0);
const QColor White(255, 255, 255);
const QColor Yellow(255, 255, 0);
const QColor Cyan(0, 255, 255);

// Client area and the rule under the logo, in twips.
constexpr QSize DesignClient(7425, 5055);
constexpr QPoint RuleFrom(240, 3480);
constexpr QPoint RuleTo(7200, 3480);


void setTextColour(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

QFont msSansSerif(bool underline = false)
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSizeF(8.25);
    font.setUnderline(underline);
    return font;
}

QPoint toPixels(QPoint twips)
{
    return QPoint(ElasticLayout::toPixels(twips.x()), ElasticLayout::toPixels(twips.y()));
}
} // namespace

frmAbout::frmAbout(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(tr("About Holdrin"));
    setModal(true);
    // A fixed dialog border: no resizing, no minimising or maximising.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                   | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(ElasticLayout::toPixels(DesignClient.width()), ElasticLayout::toPixels(DesignClient.height()));

    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Black);
    setPalette(palette);
    setAutoFillBackground(true);
    setFont(msSansSerif());

    createControls();

    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::close);
    connect(Label1, &LinkLabel::clicked, this, [this] { followLink(&frmAbout::webSiteChosen); });
    connect(Label2, &LinkLabel::clicked, this, [this] { followLink(&frmAbout::mailChosen); });
    // OK is the cancel button as well as the default one.
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, cmdOK, &QPushButton::click);

    cmdOK->setFocus();
}

void frmAbout::createControls()
{
    cmdOK = named(new QPushButton(tr("OK"), this), "cmdOK");
    picIcon = named(new QLabel(this), "picIcon");
    lblDisclaimer = named(
        new QLabel(tr("Holdrin is made by %1 and provided as is, without warranty of any kind. The replies "
                      "come from the registries' own servers. For the latest updates, visit our web site:")
                       .arg(Maker::name()),
                   this),
        "lblDisclaimer");
    lblVersion = named(new QLabel(tr("Version 1.0"), this), "lblVersion");
    lblTitle = named(new QLabel(tr("Holdrin"), this), "lblTitle");
    lblDescription = named(new QLabel(tr("Do a Who Is look up of a domain. Type the domain, press Query and "
                                         "see who holds it; then save or print the reply."),
                                      this),
                           "lblDescription");
    Label1 = named(new LinkLabel(Maker::webSite(), this), "Label1");
    Label2 = named(new LinkLabel(Maker::authorEmail(), this), "Label2");
    Image2 = named(new QLabel(this), "Image2");

    QPalette okPalette = cmdOK->palette();
    okPalette.setColor(QPalette::Button, White);
    okPalette.setColor(QPalette::ButtonText, Black);
    cmdOK->setPalette(okPalette);
    cmdOK->setDefault(true);

    picIcon->setPixmap(QPixmap(QStringLiteral(":/holdrin-32.png")));
    picIcon->setAlignment(Qt::AlignCenter);
    Image2->setPixmap(QPixmap(QStringLiteral(":/marrowby-logo.png")));
    picIcon->setAccessibleName(tr("Holdrin icon"));
    Image2->setAccessibleName(tr("%1 logo").arg(Maker::name()));

    for (QLabel *label : {lblDisclaimer, lblVersion, lblTitle, lblDescription}) {
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    lblDisclaimer->setWordWrap(true);
    lblDescription->setWordWrap(true);
    setTextColour(lblDisclaimer, Cyan);
    setTextColour(lblDescription, Cyan);
    setTextColour(lblVersion, White);
    setTextColour(lblTitle, Yellow);
    QFont titleFont(QStringLiteral("Comic Sans MS"));
    titleFont.setPointSize(12);
    lblTitle->setFont(titleFont);

    Label1->setAccessibleDescription(tr("Opens the web site of %1").arg(Maker::name()));
    Label2->setAccessibleDescription(tr("Writes a mail to the author"));
    for (LinkLabel *link : {Label1, Label2}) {
        setTextColour(link, Yellow);
        link->setFont(msSansSerif(true));
    }

    const struct {
        QWidget *widget;
        QRect twips;
    } placed[] = {
        {cmdOK, QRect(5760, 4320, 1467, 585)},         {picIcon, QRect(4680, 120, 510, 510)},
        {lblDisclaimer, QRect(255, 3600, 6990, 705)},  {lblVersion, QRect(5280, 720, 1095, 225)},
        {lblTitle, QRect(5280, 240, 1935, 480)},       {lblDescription, QRect(5280, 1320, 1905, 1650)},
        {Label1, QRect(240, 4200, 3855, 255)},         {Label2, QRect(240, 4560, 3855, 255)},
        {Image2, QRect(120, 120, 4590, 3135)},
    };
    for (const auto &p : placed)
        p.widget->setGeometry(ElasticLayout::toPixels(p.twips));
    // The icon's box overlaps the logo's right edge; the icon stays whole.
    picIcon->raise();

    setTabOrder(cmdOK, Label1);
    setTabOrder(Label1, Label2);
}

void frmAbout::followLink(void (frmAbout::*chosen)())
{
    // The opener reports a failed launch itself; the window closes either way.
    emit (this->*chosen)();
    close();
}

void frmAbout::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    // The rule under the logo: a white line 2 pixels wide with a yellow one
    // pixel wide drawn over it on the same coordinates.
    const QPoint from = toPixels(RuleFrom);
    const QPoint to = toPixels(RuleTo);
    QPainter painter(this);
    painter.fillRect(QRect(from, QPoint(to.x(), to.y() + 1)), White);
    painter.fillRect(QRect(from, QPoint(to.x(), to.y())), Yellow);
}
