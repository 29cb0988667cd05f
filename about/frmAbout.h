#pragma once

#include <QDialog>

class Form1;
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
    // The links open through the main window's operations.
    explicit frmAbout(Form1 *form1);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void createControls();
    void followLink(void (Form1::*operation)());

    Form1 *m_form1;

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
