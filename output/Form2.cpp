// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "output/Form2.h"

#include "output/PrintPreview.h"
#include "output/TextFileForm.h"
#include "ui/ElasticLayout.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QToolBar>
#include <QtMath>

namespace {
const QColor Teal(0, 128, 128);
const QColor Yellow(255, 255, 0);

constexpr QSize DesignClient(7740, 6915);
constexpr QRect Command1Design(6600, 6360, 975, 495);
constexpr QRect vpDesign(120, 0, 7455, 6225);
constexpr QRect Label1Design(120, 6360, 5895, 495);

// The border setting the pages are printed with: 7 is every bit of
// PrintDocument::Border, a rule under the head, a rule over the foot and a
// frame around the page.
constexpr int PageBorder = 7;

// Reads the file the print command wrote. Nothing here may stop the window
// from opening: an unreadable file gives an empty body, and a missing one
// is created empty.
QString readPrintFile(const QString &path)
{
    QFile file(path);
    if (!file.exists()) {
        file.open(QIODevice::WriteOnly);
        return {};
    }
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return TextFileForm::decode(file.readAll());
}
} // namespace

Form2::Form2(const QString &printFilePath, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(tr("Print Domain Info"));
    setSizeGripEnabled(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Teal);
    setPalette(palette);
    setAutoFillBackground(true);

    createControls();
    resize(elasticLayout1->designSize());
    setMinimumToWholeControls();
    load(printFilePath);
    Command1->setFocus();
}

void Form2::createControls()
{
    elasticLayout1 = new ElasticLayout(DesignClient, this);
    elasticLayout1->setObjectName(QStringLiteral("elasticLayout1"));

    Command1 = new QPushButton(tr("&Exit"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    // Neither default nor cancel button: Enter and Esc leave the window open.
    Command1->setAutoDefault(false);
    Command1->setDefault(false);
    connect(Command1, &QPushButton::clicked, this, &QDialog::close);

    vp = new PrintPreview(this);
    vp->setObjectName(QStringLiteral("vp"));
    QFont running(QStringLiteral("Arial"));
    running.setPointSizeF(11.25);
    vp->setRunningLineFont(running);
    // A fixed pitch keeps the columns of a WHOIS reply lined up on paper.
    QFont body(QStringLiteral("Courier New"));
    body.setPointSizeF(14.25);
    body.setStyleHint(QFont::TypeWriter);
    vp->setBodyFont(body);

    Label1 = new QLabel(tr("Click the printer icon button above when ready to print."), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QPalette labelPalette = Label1->palette();
    labelPalette.setColor(QPalette::WindowText, Yellow);
    Label1->setPalette(labelPalette);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1->setWordWrap(true);

    elasticLayout1->addWidget(Command1, Command1Design);
    elasticLayout1->addWidget(vp, vpDesign);
    elasticLayout1->addWidget(Label1, Label1Design);

    setTabOrder(Command1, vp);
}

// The window shrinks with its controls only so far that each stays whole:
// the button and the hint keep their whole text, and the tool bar all its
// buttons above a few lines of page.
void Form2::setMinimumToWholeControls()
{
    const QSize exit = ElasticLayout::toPixels(Command1Design).size();
    const QSize hint = ElasticLayout::toPixels(Label1Design).size();
    const QSize preview = ElasticLayout::toPixels(vpDesign).size();
    const QSize toolBar = vp->findChild<QToolBar *>()->sizeHint();
    // The button's own size hint holds a minimum width the style likes;
    // what must stay whole is its text inside the button's frame.
    constexpr QSize ButtonFrame(12, 8);
    const QSize exitText = Command1->fontMetrics().size(Qt::TextShowMnemonic, Command1->text()) + ButtonFrame;
    const auto whole = [&](qreal scale) {
        // A pixel to spare for rounding the scaled edges.
        const auto fits = [scale](int design, int needed) { return design * scale >= needed + 1; };
        return fits(exit.width(), exitText.width()) && fits(exit.height(), exitText.height())
               && fits(hint.height(), Label1->heightForWidth(int(hint.width() * scale)))
               && fits(preview.width(), toolBar.width()) && fits(preview.height(), toolBar.height() * 4);
    };
    constexpr qreal Step = 0.01;
    qreal scale = 0.5;
    while (scale < 1 && !whole(scale))
        scale += Step;
    const QSize design = elasticLayout1->designSize();
    setMinimumSize(qCeil(design.width() * scale), qCeil(design.height() * scale));
}

void Form2::load(const QString &printFilePath)
{
    vp->setDocName(QStringLiteral("Holdrin"));
    // The product line and page number head each page; the date and the
    // print file's path run at its foot.
    vp->setHeader(tr("Holdrin 1.0 from Marrowby Industries||Page %d"));
    vp->setFooter(QLocale().toString(QDate::currentDate(), QStringLiteral("dd-MMM-yy")) + QLatin1String("||")
                  + QDir::toNativeSeparators(printFilePath));
    vp->setPageBorder(PageBorder);

    const QString text = readPrintFile(printFilePath);

    vp->startDoc();
    // A reply that is a web page is not printed as text; only the running
    // lines remain.
    if (text.left(6).toLower() != QLatin1String("<html>"))
        vp->setText(text);
    vp->endDoc();
}

void Form2::keyPressEvent(QKeyEvent *event)
{
    // QDialog would close on Esc; this window closes only by its button or
    // its close control.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
