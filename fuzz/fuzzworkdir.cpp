#include "fuzzworkdir.h"

#include <QApplication>
#include <QDir>
#include <QFile>

#include <cstdio>
#include <cstdlib>

FuzzWorkDir::FuzzWorkDir()
    : m_previous(QDir::currentPath())
{
    if (m_dir.isValid())
        QDir::setCurrent(m_dir.path());
}

FuzzWorkDir::~FuzzWorkDir()
{
    QDir::setCurrent(m_previous);
}

bool FuzzWorkDir::isValid() const
{
    return m_dir.isValid() && QDir::currentPath() == QDir(m_dir.path()).absolutePath();
}

void FuzzWorkDir::writeFile(const QString &name, const QByteArray &content) const
{
    QFile file(m_dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        fuzzFailure("cannot write the input file", name);
}

QByteArray FuzzWorkDir::readFile(const QString &name) const
{
    QFile file(m_dir.filePath(name));
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    QByteArray content = file.readAll();
    // An empty file is still there: tell it apart from a missing one.
    if (content.isNull())
        content = QByteArray("");
    return content;
}

bool FuzzWorkDir::exists(const QString &name) const
{
    return QFile::exists(m_dir.filePath(name));
}

namespace {

// libFuzzer counts every byte of this section as coverage, like its own counters.
constexpr unsigned FeatureCount = 4096;
__attribute__((section("__libfuzzer_extra_counters"))) unsigned char g_features[FeatureCount];

void quietHandler(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "qFatal: %s\n", qPrintable(message));
        std::abort();
    }
}

} // namespace

void initFuzzing(int *argc, char ***argv)
{
    qInstallMessageHandler(quietHandler);
    // As in the program: a settings value may hold a serialized image or font,
    // which needs the GUI application to be there.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never destroyed: tearing Qt down at exit is not what is under test, and
    // the offscreen platform leaves some of its objects behind when it is.
    static QApplication *app = new QApplication(*argc, *argv);
    Q_UNUSED(app)
}

void fuzzFeature(unsigned id)
{
    unsigned char &counter = g_features[id % FeatureCount];
    if (counter < 255)
        ++counter;
}

void fuzzFailure(const char *what, const QString &detail)
{
    std::fprintf(stderr, "fuzz invariant broken: %s %s\n", what, qPrintable(detail));
    std::abort();
}
