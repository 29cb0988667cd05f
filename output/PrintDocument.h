// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#pragma once

#include <QFont>
#include <QString>

#include <functional>
#include <utility>

class Pagination;
class QPrinter;

// The pages the print window shows and prints: the body laid out page after
// page between a running head and a running foot, each line wrapped to the
// page width so that nothing is cut off.
class PrintDocument
{
public:
    // Bits of the border setting.
    enum Border { RuleUnderHead = 1, RuleOverFoot = 2, Frame = 4 };

    QString header;
    QString footer;
    int border = 0;
    QString body;
    QFont bodyFont;
    QFont runningLineFont;

    int pageCount(QPrinter *printer) const;

    // The first and last page to print of pageCount: the printer's page
    // range, cut at the last page, or every page. A range that starts past
    // the last page gives first > last: nothing to print.
    static std::pair<int, int> pageSpan(const QPrinter *printer, int pageCount);

    // Asked before each page with its number and the last page to print;
    // answering false stops the document there. Prints pageSpan(). Returns
    // whether every page was painted, which it never is for an empty span.
    using BeforePage = std::function<bool(int page, int pageCount)>;
    bool print(QPrinter *printer, const BeforePage &beforePage = {}) const;
    // The same with pages already broken for this printer, in part or whole.
    static bool print(Pagination &pages, QPrinter *printer, const BeforePage &beforePage = {});
};
