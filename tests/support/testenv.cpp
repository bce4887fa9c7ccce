#include "testenv.h"

#include "engine.h"

#include <QEventLoop>

#include <QDir>
#include <QFile>
#include <QFileInfo>

ScopedEnv::ScopedEnv(const char *n, const QByteArray &value)
    : name(n), old(qgetenv(n)), had(qEnvironmentVariableIsSet(n))
{
    qputenv(n, value);
}

ScopedEnv::~ScopedEnv()
{
    if (had)
        qputenv(name.constData(), old);
    else
        qunsetenv(name.constData());
}

namespace testenv {

QString writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(content);
    return path;
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList fileNames(const QString &folder)
{
    QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    return names;
}

QList<QStringList> fakeConverterCalls(const QString &logPath)
{
    QList<QStringList> calls;
    const QString log = QString::fromUtf8(readFile(logPath));
    for (const QString &line : log.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        calls << line.split(QChar(0x1f));
    return calls;
}

} // namespace testenv

namespace testenv {

QList<velinor::FileResult> runEngine(const velinor::EngineSettings &settings,
                                     const QStringList &sources)
{
    QList<velinor::FileResult> results;
    velinor::Engine engine(settings, sources);
    QObject::connect(&engine, &velinor::Engine::fileDone,
                     [&results](int, const velinor::FileResult &r) { results << r; });
    QEventLoop loop;
    QObject::connect(&engine, &velinor::Engine::finished, &loop, &QEventLoop::quit);
    QMetaObject::invokeMethod(&engine, &velinor::Engine::start, Qt::QueuedConnection);
    loop.exec();
    return results;
}

} // namespace testenv
