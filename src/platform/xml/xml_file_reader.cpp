// The XML parser and the zip container behind the core's element tree.
#include "platform/xml/xml_file_reader.h"

#include <zip.h>

#include <QByteArray>
#include <QXmlStreamReader>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>

namespace notavera {

namespace {

// MusicXML nests a dozen levels; far deeper nesting is hostile input that would only exhaust the stack.
constexpr std::size_t maxDepth = 200;

std::string Trimmed(const std::string& s) {
    const auto first = s.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    const auto last = s.find_last_not_of(" \t\r\n");
    return s.substr(first, last - first + 1);
}

XmlReading Failure(std::string error, long line, long column) {
    XmlReading r;
    r.error = std::move(error);
    r.line = line;
    r.column = column;
    return r;
}

}  // namespace

XmlReading ReadXmlText(std::string_view bytes) {
    QXmlStreamReader reader(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    XmlReading result;
    std::vector<XmlElement*> open;
    bool rootSeen = false;
    while (!reader.atEnd()) {
        const auto token = reader.readNext();
        if (token == QXmlStreamReader::StartElement) {
            if (open.size() >= maxDepth)
                return Failure("nesting too deep", static_cast<long>(reader.lineNumber()),
                               static_cast<long>(reader.columnNumber()));
            XmlElement* e = nullptr;
            if (open.empty()) {
                rootSeen = true;
                e = &result.root;
            } else {
                open.back()->children.emplace_back();
                e = &open.back()->children.back();
            }
            e->name = reader.name().toString().toStdString();
            e->line = static_cast<long>(reader.lineNumber());
            e->column = static_cast<long>(reader.columnNumber());
            for (const QXmlStreamAttribute& a : reader.attributes())
                e->attributes.emplace_back(a.name().toString().toStdString(), a.value().toString().toStdString());
            open.push_back(e);
        } else if (token == QXmlStreamReader::EndElement) {
            if (!open.empty()) {
                open.back()->text = Trimmed(open.back()->text);
                open.pop_back();
            }
        } else if (token == QXmlStreamReader::Characters && !open.empty() && !reader.isWhitespace()) {
            open.back()->text += reader.text().toString().toStdString();
        }
    }
    if (reader.hasError())
        return Failure(reader.errorString().toStdString(), static_cast<long>(reader.lineNumber()),
                       static_cast<long>(reader.columnNumber()));
    if (!rootSeen) return Failure("no element", static_cast<long>(reader.lineNumber()), 0);
    result.ok = true;
    return result;
}

namespace {

struct ZipCloser {
    void operator()(zip_t* z) const { zip_discard(z); }
};
using ZipArchive = std::unique_ptr<zip_t, ZipCloser>;

std::optional<std::string> ZipEntry(zip_t* archive, const std::string& name) {
    const zip_int64_t index = zip_name_locate(archive, name.c_str(), 0);
    if (index < 0) return std::nullopt;
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(archive, static_cast<zip_uint64_t>(index), 0, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE))
        return std::nullopt;
    // A root file beyond any score's size is a damaged or hostile container.
    constexpr zip_uint64_t largest = zip_uint64_t{64} << 20;
    if (stat.size > largest) return std::nullopt;
    zip_file_t* file = zip_fopen_index(archive, static_cast<zip_uint64_t>(index), 0);
    if (!file) return std::nullopt;
    std::string bytes(static_cast<std::size_t>(stat.size), '\0');
    const zip_int64_t read = zip_fread(file, bytes.data(), stat.size);
    zip_fclose(file);
    if (read < 0 || static_cast<zip_uint64_t>(read) != stat.size) return std::nullopt;
    return bytes;
}

// The root file the container names; without a container file, the first XML file outside META-INF.
std::optional<std::string> RootFileName(zip_t* archive) {
    if (const auto container = ZipEntry(archive, "META-INF/container.xml")) {
        const XmlReading c = ReadXmlText(*container);
        if (!c.ok) return std::nullopt;
        if (const XmlElement* files = c.root.child("rootfiles"))
            for (const XmlElement& f : files->children)
                if (f.name == "rootfile" && !f.attribute("full-path").empty()) return f.attribute("full-path");
        return std::nullopt;
    }
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        const char* name = zip_get_name(archive, static_cast<zip_uint64_t>(i), 0);
        if (!name) continue;
        const std::string n = name;
        if (n.rfind("META-INF/", 0) == 0) continue;
        if (n.ends_with(".xml") || n.ends_with(".musicxml")) return n;
    }
    return std::nullopt;
}

}  // namespace

XmlReading ReadXmlOrContainerBytes(std::string_view bytes) {
    if (!bytes.starts_with(std::string_view("PK\x03\x04", 4))) return ReadXmlText(bytes);
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
    if (!source) return Failure("damaged container", 0, 0);
    ZipArchive archive(zip_open_from_source(source, ZIP_RDONLY, &error));
    if (!archive) {
        zip_source_free(source);
        zip_error_fini(&error);
        return Failure("damaged container", 0, 0);
    }
    zip_error_fini(&error);
    const auto root = RootFileName(archive.get());
    if (!root) return Failure("no root file in the container", 0, 0);
    const auto content = ZipEntry(archive.get(), *root);
    if (!content) return Failure("root file unreadable", 0, 0);
    return ReadXmlText(*content);
}

XmlReading ReadXmlOrContainerFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return Failure("cannot open", 0, 0);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return ReadXmlOrContainerBytes(bytes);
}

}  // namespace notavera
