// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

#include "output/PrintDocument.h"

#include "output/Pagination.h"

#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <climits>

std::pair<int, int> PrintDocument::pageSpan(const QPrinter *printer, int pageCount)
{
    // No range is every page.
    if (printer->printRange() != QPrinter::PageRange || printer->fromPage() <= 0)
        return {1, pageCount};
    return {printer->fromPage(), std::min(printer->toPage(), pageCount)};
}

int PrintDocument::pageCount(QPrinter *printer) const
{
    Pagination pages(*this, printer);
    pages.paginate(INT_MAX);
    return pages.pageCount();
}

bool PrintDocument::print(QPrinter *printer, const BeforePage &beforePage) const
{
    Pagination pages(*this, printer);
    return print(pages, printer, beforePage);
}

bool PrintDocument::print(Pagination &pages, QPrinter *printer, const BeforePage &beforePage)
{
    // The page count is known before the first page; finding the breaks of
    // lines that surely fit costs little.
    pages.paginate(INT_MAX);
    const auto [first, last] = pageSpan(printer, pages.pageCount());
    if (first > last)
        return false;
    QPainter painter(printer);
    if (!painter.isActive())
        return false;
    for (int page = first; page <= last; ++page) {
        if (beforePage && !beforePage(page, last))
            return false;
        if (page > first)
            printer->newPage();
        pages.paintPage(painter, page);
    }
    return true;
}
