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

namespace {
const QColor Teal(0, 128, 128);
const QColor Yellow(255, 255, 0);

constexpr QSize DesignClient(7740, 6915);

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

    elasticLayout1->addWidget(Command1, QRect(6600, 6360, 975, 495));
    elasticLayout1->addWidget(vp, QRect(120, 0, 7455, 6225));
    elasticLayout1->addWidget(Label1, QRect(120, 6360, 5895, 495));

    setTabOrder(Command1, vp);
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
