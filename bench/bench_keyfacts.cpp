// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

// The key facts read from a large reply, against one bare pass over the
// same text.

#include "BenchTable.h"
#include "Measure.h"
#include "SampleReply.h"

#include "query/KeyFacts.h"
#include "query/ReplyDecoder.h"

#include <QCoreApplication>

#include <cstdio>
#include <stdexcept>

namespace {
constexpr qsizetype ReplyBytes = 8 * 1024 * 1024;

// Text in no registry's format: sentences, no labels.
QByteArray unknownReply()
{
    const QByteArray line = "This server keeps no records of the kind asked for and answers in prose only.\r\n";
    QByteArray reply;
    reply.reserve(ReplyBytes);
    while (reply.size() + line.size() <= ReplyBytes)
        reply += line;
    return reply;
}

void row(const QString &label, const QByteArray &bytes, double targetMs, bool expectBlock)
{
    LookupHop hop;
    hop.server = QStringLiteral("whois.internic.net");
    hop.text = ReplyDecoder::decode(bytes);
    const QList<LookupHop> hops{hop};
    const QDateTime now = QDateTime::currentDateTimeUtc();
    if (KeyFacts::summary(QStringLiteral("example.com"), hops, now).isEmpty() == expectBlock)
        throw std::runtime_error("the summary is not what the reply holds");

    qsizetype lines = 0;
    const Measure::Pair pair = Measure::paired(
        15, [&] { KeyFacts::summary(QStringLiteral("example.com"), hops, now); },
        [&] { lines += QStringView(hop.text).count(u'\n'); });
    BenchTable::row(label, BenchTable::ms(pair.measured),
                    BenchTable::ms(pair.floor) + QLatin1String(" (one pass over the text)"),
                    BenchTable::ratio(pair.measured, pair.floor), QStringLiteral("<= %1 ms").arg(targetMs),
                    pair.measured <= targetMs);
    if (lines == 0)
        throw std::runtime_error("the floor read no lines");
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    try {
        // The sample record goes on with labelled lines for all 8 MiB: the
        // worst case for a reader that looks for labels.
        row(QStringLiteral("1. key facts of the 8 MiB reply"), SampleReply::whois(ReplyBytes), 5, true);
        row(QStringLiteral("1. key facts of an 8 MiB reply in no known format"), unknownReply(), 1, false);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "bench_keyfacts: %s\n", e.what());
        return 1;
    }
    return 0;
}
