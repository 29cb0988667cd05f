#include "query/RdapBootstrap.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {
// A service may list several base URLs; HTTPS is preferred where offered.
QUrl pickBase(const QJsonArray &urls)
{
    QUrl chosen;
    for (const QJsonValue &value : urls) {
        QUrl url(value.toString());
        if (!url.isValid() || (url.scheme() != QLatin1String("https") && url.scheme() != QLatin1String("http")))
            continue;
        if (!url.path().endsWith(u'/'))
            url.setPath(url.path() + QLatin1Char('/'));
        if (chosen.isEmpty() || (url.scheme() == QLatin1String("https") && chosen.scheme() != url.scheme()))
            chosen = url;
    }
    return chosen;
}
} // namespace

bool RdapBootstrap::load(const QByteArray &json, QString *error)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    const QJsonValue services = document.object().value(QLatin1String("services"));
    if (parseError.error != QJsonParseError::NoError || !services.isArray()) {
        *error = parseError.error != QJsonParseError::NoError ? parseError.errorString()
                                                              : QStringLiteral("no list of services");
        return false;
    }
    m_services.clear();
    for (const QJsonValue &service : services.toArray()) {
        const QJsonArray pair = service.toArray();
        const QUrl base = pickBase(pair.at(1).toArray());
        if (base.isEmpty())
            continue;
        for (const QJsonValue &label : pair.at(0).toArray()) {
            const QString entry = label.toString().toLower();
            if (!entry.isEmpty())
                m_services.insert(entry, base);
        }
    }
    m_loaded = true;
    return true;
}

bool RdapBootstrap::isLoaded() const
{
    return m_loaded;
}

QUrl RdapBootstrap::baseFor(const QString &aceName) const
{
    QString name = aceName.toLower();
    if (name.endsWith(u'.'))
        name.chop(1);
    // Longest match first: "a.example.co.uk", then "example.co.uk", ...
    for (qsizetype from = 0; from >= 0 && from < name.size();) {
        const auto found = m_services.constFind(name.mid(from));
        if (found != m_services.constEnd())
            return *found;
        const qsizetype dot = name.indexOf(u'.', from);
        from = dot < 0 ? -1 : dot + 1;
    }
    return {};
}
