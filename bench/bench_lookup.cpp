// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Marrowby Industries

// Lookups through Whois1 against servers on loopback, each figure measured
// against a blocking socket that fetches the same bytes from the same server.

#include "BenchTable.h"
#include "BlockingClient.h"
#include "ClosedPort.h"
#include "LoopbackServer.h"
#include "Measure.h"
#include "SampleReply.h"

#include "LoopbackResolver.h"
#include "RepliesOnly.h"
#include "SilentListener.h"
#include "query/ReplyDecoder.h"
#include "query/WhoisClient.h"

#include <QCoreApplication>

#include <cstdio>
#include <stdexcept>

namespace {
const QString Registry = QStringLiteral("whois.internic.net");
const QString Registrar = QStringLiteral("whois.registrar.test");
const QString Domain = QStringLiteral("example.com");
// What Whois1 sends the registry for a second-level name.
const QByteArray RegistryQuery = "domain example.com\r\n";

std::unique_ptr<WhoisClient> clientFor(std::shared_ptr<LoopbackResolver> resolver, const QUrl &bootstrap)
{
    return std::make_unique<WhoisClient>(Registry, 43, std::move(resolver), bootstrap);
}

void check(bool ok, const char *what)
{
    if (!ok)
        throw std::runtime_error(what);
}

void singleLookup(const QString &label, qsizetype bytes, int repetitions, std::optional<double> maxRatio,
                  std::optional<double> maxOverheadMs)
{
    const QByteArray reply = SampleReply::whois(bytes);
    LoopbackServer server("\n", [&reply](const QByteArray &) { return reply; });
    auto resolver = std::make_shared<LoopbackResolver>();
    resolver->add(Registry, server.port());
    const auto whois = clientFor(resolver, QUrl(QStringLiteral("http://127.0.0.1:1/dns.json")));

    whois->lookup(Domain);
    check(repliesOnly(whois->replyText()) == ReplyDecoder::decode(reply), "Whois1 did not return the whole reply");
    check(BlockingClient::fetch(server.port(), RegistryQuery) == reply, "the floor did not read the whole reply");

    const Measure::Pair pair = Measure::paired(
        repetitions, [&] { whois->lookup(Domain); }, [&] { BlockingClient::fetch(server.port(), RegistryQuery); });

    const double overheadMs = pair.measured - pair.floor;
    QString target = QStringLiteral("-");
    std::optional<bool> met;
    if (maxRatio) {
        target = QStringLiteral("ratio <= %1").arg(*maxRatio);
        met = pair.measured <= *maxRatio * pair.floor;
    } else if (maxOverheadMs) {
        target = QStringLiteral("overhead <= %1 ms").arg(*maxOverheadMs);
        met = overheadMs <= *maxOverheadMs;
    }
    BenchTable::row(QStringLiteral("1. lookup via Whois1, %1 reply").arg(label), BenchTable::ms(pair.measured),
                    BenchTable::ms(pair.floor),
                    BenchTable::ratio(pair.measured, pair.floor) + QLatin1String(", ")
                        + BenchTable::overhead(pair.measured, pair.floor),
                    target, met);
}

// Registry, then a registrar that refuses port 43, then the RDAP record
// over plain HTTP: the path a lookup takes when a registrar has dropped
// WHOIS. Each hop's floor is the least that hop can cost: reading the
// registry's bytes, having a connection refused, and one blocking HTTP GET.
void threeHopChain(int repetitions, double maxOverheadPerHopMs)
{
    const QByteArray registryReply = SampleReply::whois(4 * 1024, Registrar.toLatin1());
    const QByteArray rdapRecord = SampleReply::rdapDomain("example.com");
    LoopbackServer registry("\n", [&](const QByteArray &) { return registryReply; });
    ClosedPort registrar;

    std::atomic<int> bootstrapFetches{0};
    QUrl rdapBase;
    QByteArray bootstrap;
    LoopbackServer rdap("\r\n\r\n", [&](const QByteArray &request) {
        const QByteArray path = request.left(request.indexOf('\r')).split(' ').value(1);
        if (path == "/dns.json") {
            ++bootstrapFetches;
            return SampleReply::http(bootstrap);
        }
        if (path == "/rdap/domain/example.com")
            return SampleReply::http(rdapRecord);
        return SampleReply::http("{\"errorCode\": 404}", 404);
    });
    rdapBase = QUrl(QStringLiteral("http://127.0.0.1:%1/rdap/").arg(rdap.port()));
    bootstrap = SampleReply::rdapBootstrap(rdapBase);

    auto resolver = std::make_shared<LoopbackResolver>();
    resolver->add(Registry, registry.port()).add(Registrar, registrar.port());
    const auto whois = clientFor(resolver, QUrl(QStringLiteral("http://127.0.0.1:%1/dns.json").arg(rdap.port())));

    // The first lookup fetches the bootstrap file, which is then kept.
    whois->lookup(Domain);
    const QString first = whois->replyText();
    check(first.contains(QLatin1String("--- RDAP http://127.0.0.1")), "the chain did not reach the RDAP record");
    check(first.contains(QLatin1String("refused")), "the registrar was not refused");

    const QByteArray rdapGet = "GET /rdap/domain/example.com HTTP/1.1\r\nHost: 127.0.0.1:"
        + QByteArray::number(rdap.port()) + "\r\nAccept: application/rdap+json\r\nConnection: close\r\n\r\n";
    const auto floor = [&] {
        BlockingClient::fetch(registry.port(), RegistryQuery);
        check(BlockingClient::refused(registrar.port()), "the registrar's port was not refused");
        BlockingClient::fetch(rdap.port(), rdapGet);
    };
    const Measure::Pair pair = Measure::paired(repetitions, [&] { whois->lookup(Domain); }, floor);
    check(bootstrapFetches == 1, "the bootstrap file was fetched more than once");

    const double maxOverhead = 3 * maxOverheadPerHopMs;
    BenchTable::row(QStringLiteral("1. three-hop chain: registry, refused registrar, RDAP"),
                    BenchTable::ms(pair.measured), BenchTable::ms(pair.floor) + QLatin1String(" (sum of 3)"),
                    BenchTable::ratio(pair.measured, pair.floor) + QLatin1String(", ")
                        + BenchTable::overhead(pair.measured, pair.floor),
                    QStringLiteral("overhead <= %1 ms").arg(maxOverhead),
                    pair.measured - pair.floor <= maxOverhead);
}
// The registry's name resolves first to an address that drops every
// connection attempt unanswered, as a dead A record or a broken IPv6 path
// does, then to the live server. The floor is the same lookup with the live
// address alone; the difference is what the dead address costs.
void blackHoledFirstAddress(int repetitions, double maxOverheadMs)
{
    const QByteArray reply = SampleReply::whois(4 * 1024);
    LoopbackServer server("\n", [&reply](const QByteArray &) { return reply; });
    SilentListener silent;
    check(silent.port() != 0, "the silent listener could not be set up");

    auto blackHoled = std::make_shared<LoopbackResolver>();
    blackHoled->add(Registry, QList<quint16>{silent.port(), server.port()});
    auto live = std::make_shared<LoopbackResolver>();
    live->add(Registry, server.port());
    const QUrl noBootstrap(QStringLiteral("http://127.0.0.1:1/dns.json"));
    const auto throughBlackHole = clientFor(blackHoled, noBootstrap);
    const auto direct = clientFor(live, noBootstrap);

    throughBlackHole->lookup(Domain);
    check(repliesOnly(throughBlackHole->replyText()) == ReplyDecoder::decode(reply),
          "the lookup past the black-holed address did not return the whole reply");

    const Measure::Pair pair = Measure::paired(
        repetitions, [&] { throughBlackHole->lookup(Domain); }, [&] { direct->lookup(Domain); });
    BenchTable::row(QStringLiteral("1. lookup with a black-holed first address, 4 KiB reply"),
                    BenchTable::ms(pair.measured), BenchTable::ms(pair.floor) + QLatin1String(" (live address alone)"),
                    BenchTable::overhead(pair.measured, pair.floor),
                    QStringLiteral("overhead <= %1 ms").arg(maxOverheadMs),
                    pair.measured - pair.floor <= maxOverheadMs);
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    try {
        singleLookup(QStringLiteral("4 KiB"), 4 * 1024, 300, std::nullopt, 0.3);
        singleLookup(QStringLiteral("256 KiB"), 256 * 1024, 60, std::nullopt, std::nullopt);
        singleLookup(QStringLiteral("8 MiB"), 8 * 1024 * 1024, 15, 1.2, std::nullopt);
        threeHopChain(100, 0.3);
        blackHoledFirstAddress(15, 300);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "bench_lookup: %s\n", e.what());
        return 1;
    }
    return 0;
}
