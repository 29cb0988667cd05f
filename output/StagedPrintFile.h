#pragma once

#include <QString>

class QPrinter;

// Keeps a print to a file from touching the chosen file until every page
// is printed: the printer writes a file of its own, beside the chosen one
// where the folder allows, which takes the chosen file's place on commit().
// A print cancelled or failed part-way leaves the chosen file as it was.
class StagedPrintFile
{
public:
    // Points the printer at the staging file, if it prints to a file.
    explicit StagedPrintFile(QPrinter *printer);
    // Points the printer back at the chosen file and removes the staging
    // file unless it was committed.
    ~StagedPrintFile();

    StagedPrintFile(const StagedPrintFile &) = delete;
    StagedPrintFile &operator=(const StagedPrintFile &) = delete;

    // Why there is nowhere to print to, or an empty text.
    QString failure() const;
    // Puts the printed file in the chosen file's place. Returns an empty
    // text, or the reason it failed.
    QString commit();

private:
    QPrinter *m_printer;
    QString m_target;
    QString m_stage;
    QString m_reason;
    bool m_committed = false;
};
