// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include "query/WhoisClient.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class ElasticLayout;
class FileDialog;
class LookupThread;
class PrintCommand;
class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QueryCommand;
class ReplyBox;
class SaveCommand;

// The main window: the domain entry, the reply area, the two buttons and the
// menu bar. It lives for the whole run and owns the WHOIS component.
class Form1 : public QMainWindow
{
    Q_OBJECT

public:
    // Tests hand in a component pointed at their own servers.
    explicit Form1(std::unique_ptr<WhoisClient> whois = nullptr, QWidget *parent = nullptr);
    ~Form1() override;

    // Open an address with the desktop's default program; the About
    // window's links call these. StartDoc throws Failure when the
    // address cannot be handed over at all; the other two report that in a
    // message box and return.
    qint32 StartDoc(const QString &dofile);
    void GoMarrowby();
    void EMailAuthor();

    // A lookup was started and has not ended yet.
    bool isLookingUp() const;

private:
    // What the window is doing. It decides, whatever asks for a command (a
    // click, a key, a button's delayed press, a screen reader's action, a
    // desktop's menu over D-Bus), whether the command may start: only one
    // runs at a time, and Exit always may.
    enum class State { Idle, LookingUp, InCommand };

    void createControls(QWidget *client);
    QSize smallestWholeClient();
    void createMenus();
    void load();
    void query();
    void escape();
    // Runs command, unless another one is running.
    void runCommand(const std::function<void()> &command);
    void showHelp();
    void showAbout();
    void openLink(const QString &address);
    void exitProgram();

    QLineEdit *txtDomain;
    QPushButton *cmdQuery;
    ReplyBox *txtResponse;
    QLabel *Label1;
    QPushButton *cmdExit;
    LookupThread *Whois1;
    FileDialog *CommonDialog1;
    ElasticLayout *elasticLayout1;

    QMenu *mnuFile;
    QAction *mnuSave;
    QAction *mnuPrint;
    QAction *mnuExit;
    QMenu *mnuHelp;
    QAction *mnuHelp2;
    QAction *mnuAbout;

    std::unique_ptr<QueryCommand> m_queryCommand;
    std::unique_ptr<SaveCommand> m_saveCommand;
    std::unique_ptr<PrintCommand> m_printCommand;
    State m_state = State::Idle;
};
