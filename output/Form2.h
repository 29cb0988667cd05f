// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include <QDialog>

class ElasticLayout;
class PrintPreview;
class QLabel;
class QPushButton;

// The print window: the reply as printed pages, ready for the printer.
// It reads the reply from the temporary print file while it loads.
class Form2 : public QDialog
{
    Q_OBJECT

public:
    explicit Form2(const QString &printFilePath, QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void createControls();
    void setMinimumToWholeControls();
    void load(const QString &printFilePath);

    QPushButton *Command1;
    PrintPreview *vp;
    QLabel *Label1;
    ElasticLayout *elasticLayout1;
};
