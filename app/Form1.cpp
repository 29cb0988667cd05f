// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "app/Form1.h"

#include "about/ShellLauncher.h"
#include "about/frmAbout.h"
#include "output/FileDialog.h"
#include "output/PrintCommand.h"
#include "output/SaveCommand.h"
#include "app/QueryCommand.h"
#include "query/LookupThread.h"
#include "query/WhoisClient.h"
#include "ui/ElasticLayout.h"
#include "ui/Maker.h"
#include "ui/MessageBox.h"
#include "ui/Named.h"
#include "ui/ReplyBox.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QShortcut>
#include <QStyle>
#include <QtMath>

#include <algorithm>

namespace {
const QColor Navy(0, 0, 128);
const QColor Yellow(255, 255, 0);

// Client area as designed, and where its top left corner first stands on
// the screen, in twips.
constexpr QSize DesignClient(6480, 6840);
constexpr QPoint DesignPlace(1095, 1800);

} // namespace

Form1::Form1(std::unique_ptr<WhoisClient> whois, QWidget *parent)
    : QMainWindow(parent)
    , Whois1(new LookupThread(whois ? std::move(whois) : std::make_unique<WhoisClient>(), this))
    , CommonDialog1(new FileDialog(this))
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(tr("Holdrin: A Domain Info Query Tool"));
    Whois1->setObjectName(QStringLiteral("Whois1"));
    CommonDialog1->setObjectName(QStringLiteral("CommonDialog1"));

    auto *client = named(new QWidget(this), "client");
    QPalette palette = client->palette();
    palette.setColor(QPalette::Window, Navy);
    client->setPalette(palette);
    client->setAutoFillBackground(true);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSizeF(8.25);
    client->setFont(font);
    setCentralWidget(client);

    createControls(client);
    createMenus();

    m_queryCommand = std::make_unique<QueryCommand>(this, txtDomain, txtResponse, Whois1);
    connect(m_queryCommand.get(), &QueryCommand::ended, this, [this] { m_state = State::Idle; });
    m_saveCommand = std::make_unique<SaveCommand>(this, CommonDialog1);
    m_printCommand = std::make_unique<PrintCommand>(this, QCoreApplication::applicationDirPath());
    connect(cmdQuery, &QPushButton::clicked, this, &Form1::query);
    connect(cmdExit, &QPushButton::clicked, this, &Form1::exitProgram);

    client->setMinimumSize(smallestWholeClient());
    resize(elasticLayout1->designSize() + QSize(0, menuBar()->sizeHint().height()));
    move(ElasticLayout::toPixels(DesignPlace.x()), ElasticLayout::toPixels(DesignPlace.y()));
    load();
}

Form1::~Form1() = default;

void Form1::createControls(QWidget *client)
{
    elasticLayout1 = new ElasticLayout(DesignClient, client);
    elasticLayout1->setObjectName(QStringLiteral("elasticLayout1"));

    txtDomain = named(new QLineEdit(Maker::domain(), client), "txtDomain");
    cmdQuery = named(new QPushButton(tr("&Query"), client), "cmdQuery");
    txtResponse = named(new ReplyBox(client), "txtResponse");
    Label1 = named(new QLabel(tr("Domain:"), client), "Label1");
    cmdExit = named(new QPushButton(tr("&Exit"), client), "cmdExit");

    // Long replies keep their lines; the box scrolls both ways instead.
    txtResponse->setLineWrapMode(ReplyBox::NoWrap);
    txtResponse->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtResponse->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtResponse->setTabChangesFocus(true);

    QPalette labelPalette = Label1->palette();
    labelPalette.setColor(QPalette::WindowText, Yellow);
    Label1->setPalette(labelPalette);
    Label1->setBuddy(txtDomain);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    // The style draws the focus frame in the highlight colour, a dark blue
    // that is lost against navy; yellow, the label's colour, stands out.
    QPalette buttonPalette = cmdQuery->palette();
    buttonPalette.setColor(QPalette::Highlight, Yellow);
    cmdQuery->setPalette(buttonPalette);
    cmdExit->setPalette(buttonPalette);

    // Neither button is pressed by Enter; Esc presses Exit, as a cancel
    // button, so Enter typed after a domain cannot end the program. A held
    // Esc does not repeat: one that stopped a lookup and then closed the
    // box reporting it would otherwise go on to Exit.
    for (QPushButton *button : {cmdQuery, cmdExit}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setAutoRepeat(false);
    connect(escape, &QShortcut::activated, this, &Form1::escape);

    elasticLayout1->addWidget(txtDomain, QRect(850, 360, 3720, 315));
    elasticLayout1->addWidget(cmdQuery, QRect(4680, 360, 865, 350));
    elasticLayout1->addWidget(txtResponse, QRect(0, 840, 6450, 5895));
    elasticLayout1->addWidget(Label1, QRect(120, 360, 745, 375));
    elasticLayout1->addWidget(cmdExit, QRect(5585, 360, 865, 350));

    setTabOrder(txtDomain, cmdQuery);
    setTabOrder(cmdQuery, txtResponse);
    setTabOrder(txtResponse, cmdExit);
}

// Below this size "Domain:" runs under the text box and the captions and the
// domain are cut, since the controls shrink but their text does not.
QSize Form1::smallestWholeClient()
{
    const QSize design = elasticLayout1->designSize();
    elasticLayout1->setGeometry(QRect(QPoint(), design));
    const int padding =
        2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + style()->pixelMetric(QStyle::PM_ButtonMargin);
    const auto caption = [padding](const QPushButton *button) {
        return button->fontMetrics().size(Qt::TextShowMnemonic, button->text()) + QSize(padding, padding);
    };
    qreal x = 0;
    qreal y = 0;
    // Scaled edges are rounded to whole pixels, which can cost a control one.
    const auto fit = [&](QSize needed, QSize room) {
        x = std::max(x, qreal(needed.width() + 1) / room.width());
        y = std::max(y, qreal(needed.height() + 1) / room.height());
    };
    fit(caption(cmdQuery), cmdQuery->size());
    fit(caption(cmdExit), cmdExit->size());
    fit(txtDomain->minimumSizeHint(), txtDomain->size());
    fit(Label1->sizeHint(), QSize(txtDomain->x() - Label1->x(), Label1->height()));
    return QSize(qCeil(design.width() * x), qCeil(design.height() * y)).boundedTo(design);
}

void Form1::createMenus()
{
    mnuFile = named(menuBar()->addMenu(tr("&File")), "mnuFile");
    mnuSave = named(mnuFile->addAction(tr("&Save Domain Info")), "mnuSave");
    mnuPrint = named(mnuFile->addAction(tr("&Print Domain Info")), "mnuPrint");
    mnuExit = named(mnuFile->addAction(tr("&Exit")), "mnuExit");

    mnuHelp = named(menuBar()->addMenu(tr("&Help")), "mnuHelp");
    mnuHelp2 = named(mnuHelp->addAction(tr("&Help")), "mnuHelp2");
    mnuAbout = named(mnuHelp->addAction(tr("&About")), "mnuAbout");

    connect(mnuSave, &QAction::triggered, this,
            [this] { runCommand([this] { m_saveCommand->run(txtResponse->text()); }); });
    connect(mnuPrint, &QAction::triggered, this,
            [this] { runCommand([this] { m_printCommand->run(txtResponse->text()); }); });
    connect(mnuExit, &QAction::triggered, this, &Form1::exitProgram);
    connect(mnuHelp2, &QAction::triggered, this, [this] { runCommand([this] { showHelp(); }); });
    connect(mnuAbout, &QAction::triggered, this, [this] { runCommand([this] { showAbout(); }); });
}

bool Form1::isLookingUp() const
{
    return m_state == State::LookingUp;
}

void Form1::query()
{
    if (m_state != State::Idle)
        return;
    // Idle again when the command has shown its reply or its failure.
    m_state = State::LookingUp;
    m_queryCommand->run();
}

void Form1::escape()
{
    if (m_state == State::LookingUp)
        m_queryCommand->stop();
    else if (m_state == State::Idle)
        cmdExit->click();
}

void Form1::runCommand(const std::function<void()> &command)
{
    if (m_state != State::Idle)
        return;
    m_state = State::InCommand;
    const auto idle = qScopeGuard([this] { m_state = State::Idle; });
    command();
}

void Form1::load()
{
    // The preset text is selected, so the first key typed replaces it.
    txtDomain->setSelection(0, int(txtDomain->text().size()));
    txtDomain->setFocus();
}

void Form1::showHelp()
{
    MessageBox::show(this, tr("If you need help with this simple program, then you REALLY need help!"),
                     tr("Really?"), MessageBox::Icon::Information);
}

void Form1::showAbout()
{
    // Built afresh for each showing and gone once it closes.
    frmAbout about(this);
    connect(&about, &frmAbout::webSiteChosen, this, &Form1::GoMarrowby);
    connect(&about, &frmAbout::mailChosen, this, &Form1::EMailAuthor);
    about.exec();
}

qint32 Form1::StartDoc(const QString &dofile)
{
    return ShellLauncher::open(dofile);
}

void Form1::GoMarrowby()
{
    openLink(Maker::webSite());
}

void Form1::EMailAuthor()
{
    openLink(QLatin1String("mailto:") + Maker::authorEmail());
}

void Form1::openLink(const QString &address)
{
    try {
        // The opener's status tells nothing about the browser it starts.
        StartDoc(address);
    } catch (const std::exception &) {
        // The mail link shows the same words: to the user both are links that did not open.
        QWidget *owner = QApplication::activeModalWidget();
        MessageBox::show(owner ? owner : this,
                         tr("There was an error launching your default web browser or connecting to the internet."),
                         {}, MessageBox::Icon::Critical);
    }
}

void Form1::exitProgram()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows)
        window->close();
    QCoreApplication::exit(0);
}
