// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include "output/PrintQueue.h"

#include <QString>

class QPrinter;

// Keeps a print from reaching the chosen file or the print queue until every
// page is printed: the printer writes a file of its own, which on commit()
// takes the chosen file's place, or is handed to the queue. A print
// cancelled or failed part-way leaves the chosen file as it was and sends
// no job. The staged file is the user's alone from its first byte, and
// where the file system allows it has no name until commit(), so a crash
// leaves nothing behind.
class StagedPrintFile
{
public:
    // Points the printer at the staging file: beside the chosen file where
    // the folder allows, and in the temporary folder for a queue. submit
    // hands a queue's pages on.
    StagedPrintFile(QPrinter *printer, PrintQueue::Submitter submit);
    // Points the printer back at the chosen file or its queue and lets the
    // staging file go unless it took the chosen file's place.
    ~StagedPrintFile();

    StagedPrintFile(const StagedPrintFile &) = delete;
    StagedPrintFile &operator=(const StagedPrintFile &) = delete;

    // Why there is nowhere to print to, or an empty text.
    QString failure() const;
    // Puts the printed file in the chosen file's place, or sends it to the
    // queue. Returns an empty text, or the reason it failed.
    QString commit();

private:
    QPrinter *m_printer;
    QString m_target;
    PrintQueue::Submitter m_submit;
    // The staged file, open while it lives, and the name the printer
    // writes it by: its descriptor's entry in /proc, or its own name where
    // the file system keeps no unnamed files.
    int m_fd = -1;
    QString m_stage;
    bool m_named = false;
    QString m_folder;
    QString m_reason;
    bool m_committed = false;
};
