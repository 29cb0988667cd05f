// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "output/PrintQueue.h"

#include <QFile>
#include <QPrintEngine>
#include <QPrinter>

#include <cups/cups.h>

#include <vector>

namespace {
// Where the toolkit's queue engine keeps what the print dialog chose for
// the print service alone: names and values, one after the other.
constexpr auto CupsOptions = QPrintEngine::PrintEnginePropertyKey(0xfe00);

QByteArray sides(QPrinter::DuplexMode duplex, QPageLayout::Orientation orientation)
{
    switch (duplex) {
    case QPrinter::DuplexNone:
        return "one-sided";
    case QPrinter::DuplexLongSide:
        return "two-sided-long-edge";
    case QPrinter::DuplexShortSide:
        return "two-sided-short-edge";
    case QPrinter::DuplexAuto:
        break;
    }
    // The sheets turn like a book's pages, whichever way the text runs.
    return orientation == QPageLayout::Portrait ? "two-sided-long-edge" : "two-sided-short-edge";
}
} // namespace

PrintQueue::Job PrintQueue::job(QPrinter *printer, const QString &file)
{
    Job job;
    // An instance ("office/draft") is a set of saved settings the print
    // dialog has already applied; the job goes to the queue it belongs to.
    job.printer = printer->printerName().section(QLatin1Char('/'), 0, 0);
    job.title = printer->docName();
    job.file = file;

    job.options = options(printer->pageLayout(), printer->copyCount(), printer->collateCopies(), printer->duplex(),
                          printer->printEngine()->property(CupsOptions).toStringList());
    return job;
}

QList<PrintQueue::Option> PrintQueue::options(const QPageLayout &layout, int copies, bool collate,
                                              QPrinter::DuplexMode duplex, const QStringList &chosen)
{
    // The names and values the toolkit's queue engine sends, so the queue
    // prints the job as it would have. Its "landscape" is left out: the
    // pages are turned already, and the service reads it, empty, as false.
    QList<Option> options;
    options.emplaceBack("media", layout.pageSize().key().toUtf8());
    // The pages are painted once; the queue makes the copies.
    if (copies > 1) {
        options.emplaceBack("copies", QByteArray::number(copies));
        if (collate)
            options.emplaceBack("Collate", "True");
    }
    options.emplaceBack("sides", sides(duplex, layout.orientation()));
    for (qsizetype i = 0; i + 1 < chosen.size(); i += 2)
        options.emplaceBack(chosen.at(i).toUtf8(), chosen.at(i + 1).toUtf8());
    return options;
}

QString PrintQueue::submit(const Job &job)
{
    if (job.printer.isEmpty())
        return tr("no printer was chosen");
    // The service's options hold their texts as char *, though it only
    // reads them.
    QList<Option> options = job.options;
    std::vector<cups_option_t> cupsOptions;
    cupsOptions.reserve(options.size());
    for (Option &option : options)
        cupsOptions.push_back({option.first.data(), option.second.data()});
    const int id = cupsPrintFile(job.printer.toUtf8().constData(), QFile::encodeName(job.file).constData(),
                                 job.title.toUtf8().constData(), int(cupsOptions.size()), cupsOptions.data());
    if (id != 0)
        return {};
    const QString reason = QString::fromUtf8(cupsLastErrorString());
    return reason.isEmpty() ? tr("the print service did not take the job") : reason;
}
