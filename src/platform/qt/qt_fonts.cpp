// Fonts for the Qt canvas: the SMuFL font files read once per process, and the free faces that stand in for the
// text faces documents name.
#include "platform/qt/qt_fonts.h"

#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <map>
#include <mutex>
#include <string>

namespace notavera {
namespace {

constexpr const char* kFallbackFace = "Liberation Sans";

// The bytes of each font file, read on first use and kept for the life of the process: a page draws hundreds
// of glyphs and the files are large. An unreadable file is remembered as empty so that it is not read again.
QByteArray FontFileData(const std::string& path) {
    static std::mutex mutex;
    static std::map<std::string, QByteArray> files;
    const std::lock_guard<std::mutex> lock(mutex);
    const auto found = files.find(path);
    if (found != files.end()) return found->second;
    QFile file(QString::fromStdString(path));
    QByteArray data = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    files.emplace(path, data);
    return data;
}

}  // namespace

QString SubstituteTextFace(std::string_view face) {
    static const std::map<std::string_view, const char*> kMetricTwins = {
        {"Times New Roman", "Liberation Serif"}, {"Times", "Liberation Serif"},
        {"Arial", "Liberation Sans"},           {"Helvetica", "Liberation Sans"},
        {"Courier New", "Liberation Mono"},     {"Courier", "Liberation Mono"},
    };
    const auto twin = kMetricTwins.find(face);
    if (twin != kMetricTwins.end()) return QString::fromLatin1(twin->second);
    const QString named = QString::fromUtf8(face.data(), static_cast<qsizetype>(face.size()));
    if (!named.isEmpty() && QFontDatabase::hasFamily(named)) return named;
    return QString::fromLatin1(kFallbackFace);
}

QRawFont LoadMusicFont(const GlyphFont& font, double pixelSize) {
    if (!font.file.empty()) {
        const QByteArray data = FontFileData(font.file);
        if (!data.isEmpty()) {
            QRawFont raw(data, pixelSize, QFont::PreferNoHinting);
            if (raw.isValid()) return raw;
        }
    }
    const QString family = QString::fromStdString(font.family);
    if (family.isEmpty() || !QFontDatabase::hasFamily(family)) return QRawFont();
    QFont installed(family);
    installed.setHintingPreference(QFont::PreferNoHinting);
    QRawFont raw = QRawFont::fromFont(installed);
    if (raw.isValid()) raw.setPixelSize(pixelSize);
    return raw;
}

// Registered with the font database once per file, so that PDF and printer engines see a font they can embed
// rather than outlines.
QRawFont EmbeddableMusicFont(const GlyphFont& font, double pixelSize) {
    static std::map<std::string, QString> families;
    auto found = families.find(font.file);
    if (found == families.end()) {
        const int id = font.file.empty() ? -1 : QFontDatabase::addApplicationFont(QString::fromStdString(font.file));
        const QStringList names = id < 0 ? QStringList() : QFontDatabase::applicationFontFamilies(id);
        found = families.emplace(font.file, names.isEmpty() ? QString() : names.front()).first;
    }
    if (found->second.isEmpty()) return LoadMusicFont(font, pixelSize);
    QFont registered(found->second);
    registered.setHintingPreference(QFont::PreferNoHinting);
    registered.setStyleStrategy(QFont::NoFontMerging);
    QRawFont raw = QRawFont::fromFont(registered);
    if (!raw.isValid()) return LoadMusicFont(font, pixelSize);
    raw.setPixelSize(pixelSize);
    return raw;
}

}  // namespace notavera
