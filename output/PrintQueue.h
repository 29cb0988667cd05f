// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QList>
#include <QPageLayout>
#include <QPrinter>
#include <QString>
#include <QStringList>

#include <functional>
#include <utility>

// Hands a printed PDF to a queue of the system's print service. The job
// carries the options the toolkit's own queue engine sends when its painter
// ends; it is sent here only once every page is in the file.
class PrintQueue
{
    Q_DECLARE_TR_FUNCTIONS(PrintQueue)

public:
    using Option = std::pair<QByteArray, QByteArray>;

    struct Job {
        QString printer;
        QString title;
        QString file;
        QList<Option> options;
    };

    // The job for printer's queue with the pages in file, with the options
    // the printer was set up with.
    static Job job(QPrinter *printer, const QString &file);

    // What the queue is told besides the pages: the paper, the copies and
    // whether they are collated, the sides printed on, and what the print
    // dialog left for the print service alone (chosen:
    // names and values one after the other, such as the page set, pages per
    // sheet or the queue's trays).
    static QList<Option> options(const QPageLayout &layout, int copies, bool collate, QPrinter::DuplexMode duplex,
                                 const QStringList &chosen);

    // Sends the job and waits until the print service has the file.
    // Returns an empty text, or why the job was not taken.
    static QString submit(const Job &job);

    using Submitter = std::function<QString(const Job &job)>;
};
