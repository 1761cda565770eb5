// The XML writer over QXmlStreamWriter and QSaveFile.
#include "platform/xml/qt_xml_file.h"

#include <QSaveFile>
#include <QString>
#include <QXmlStreamWriter>

namespace notavera {
namespace {

QString Q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

void WriteElement(QXmlStreamWriter& w, const XmlElement& e) {
    if (e.children.empty() && e.text.empty()) {
        w.writeEmptyElement(Q(e.name));
    } else {
        w.writeStartElement(Q(e.name));
    }
    for (const auto& [name, value] : e.attributes) w.writeAttribute(Q(name), Q(value));
    if (e.children.empty() && e.text.empty()) return;
    if (!e.text.empty()) w.writeCharacters(Q(e.text));
    for (const XmlElement& c : e.children) WriteElement(w, c);
    w.writeEndElement();
}

}  // namespace

bool WriteXmlFile(const std::string& path, const XmlDocumentType& type, const XmlElement& root) {
    QSaveFile file(Q(path));
    if (!file.open(QIODevice::WriteOnly)) return false;
    QXmlStreamWriter w(&file);
    w.setAutoFormatting(true);
    w.setAutoFormattingIndent(2);
    w.writeStartDocument(QStringLiteral("1.0"), false);
    if (!type.root.empty()) {
        w.writeDTD(
            QStringLiteral("<!DOCTYPE %1 PUBLIC \"%2\" \"%3\">").arg(Q(type.root), Q(type.publicId), Q(type.systemId)));
    }
    WriteElement(w, root);
    w.writeEndDocument();
    return !w.hasError() && file.commit();
}

}  // namespace notavera
