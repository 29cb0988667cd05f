#include "output/PrintDocument.h"

#include "output/Pagination.h"

#include <QPainter>
#include <QPrinter>

#include <climits>

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
    QPainter painter(printer);
    if (!painter.isActive())
        return false;
    for (int page = 1; page <= pages.pageCount(); ++page) {
        if (beforePage && !beforePage(page, pages.pageCount()))
            return false;
        if (page > 1)
            printer->newPage();
        pages.paintPage(painter, page);
    }
    return true;
}
