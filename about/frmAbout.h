// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include <QDialog>

class LinkLabel;
class QLabel;
class QPushButton;

// The About window: which program this is, who made it, and links to the
// maker's web site and to a mail for the author. Shown modally and built
// afresh each time; every action closes it.
class frmAbout : public QDialog
{
    Q_OBJECT

public:
    explicit frmAbout(QWidget *parent = nullptr);

signals:
    // A link was chosen; whoever shows the window opens the address, and the
    // window closes once that is done.
    void webSiteChosen();
    void mailChosen();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void createControls();
    void followLink(void (frmAbout::*chosen)());

    QPushButton *cmdOK;
    QLabel *picIcon;
    QLabel *lblDisclaimer;
    QLabel *lblVersion;
    QLabel *lblTitle;
    QLabel *lblDescription;
    LinkLabel *Label1;
    LinkLabel *Label2;
    QLabel *Image2;
};
