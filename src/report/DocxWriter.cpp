#include "report/DocxWriter.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QSaveFile>
#include <QXmlStreamWriter>
#include <zip.h>

#include <memory>
#include <utility>

using namespace Qt::StringLiterals;

namespace kz {

namespace {
QString l1(const char* text) {
    return QString::fromLatin1(text);
}

const char* const nsW = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";
const char* const nsR = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
const char* const nsWp = "http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing";
const char* const nsA = "http://schemas.openxmlformats.org/drawingml/2006/main";
const char* const nsPic = "http://schemas.openxmlformats.org/drawingml/2006/picture";

// 914400 EMU to the inch; pictures are drawn at 96 dots per inch.
constexpr qint64 emuPerPixel = 9525;
// No wider than the text of an A4 page with 2 cm margins.
constexpr qint64 maxPictureWidth = 17 * 360000;

struct Picture {
    QString relationId;
    QString target; // "media/image1.png"
    QByteArray png;
    qint64 cx = 0;
    qint64 cy = 0;
};

class XmlOut {
public:
    XmlOut() : xml_(&bytes_) { xml_.writeStartDocument(QStringLiteral("1.0"), true); }
    QXmlStreamWriter& operator*() { return xml_; }
    QXmlStreamWriter* operator->() { return &xml_; }
    QByteArray finish() {
        xml_.writeEndDocument();
        return bytes_;
    }

private:
    QByteArray bytes_;
    QXmlStreamWriter xml_;
};

void writeRunProperties(QXmlStreamWriter& x, const ReportRun& run) {
    x.writeStartElement(u"w:rPr"_s);
    if (!run.font.isEmpty()) {
        x.writeEmptyElement(u"w:rFonts"_s);
        for (const char* a : {"w:ascii", "w:hAnsi", "w:cs", "w:eastAsia"})
            x.writeAttribute(l1(a), run.font);
    }
    if (run.bold) {
        x.writeEmptyElement(u"w:b"_s);
        x.writeEmptyElement(u"w:bCs"_s);
    }
    if (run.position != ReportRun::Position::Normal) {
        x.writeEmptyElement(u"w:vertAlign"_s);
        x.writeAttribute(u"w:val"_s, run.position == ReportRun::Position::Superscript ? u"superscript"_s
                                                                                       : u"subscript"_s);
    }
    const QString halfPoints = QString::number(run.size * 2);
    x.writeEmptyElement(u"w:sz"_s);
    x.writeAttribute(u"w:val"_s, halfPoints);
    x.writeEmptyElement(u"w:szCs"_s);
    x.writeAttribute(u"w:val"_s, halfPoints);
    x.writeEndElement();
}

// The Symbol font's letters as symbol characters, so that "r" shows as rho in any word processor.
void writeSymbols(QXmlStreamWriter& x, const ReportRun& run) {
    for (const QChar c : run.text) {
        x.writeEmptyElement(u"w:sym"_s);
        x.writeAttribute(u"w:font"_s, run.font);
        x.writeAttribute(u"w:char"_s, QString::number(0xF000 + c.unicode(), 16).toUpper());
    }
}

void writePicture(QXmlStreamWriter& x, const Picture& p, int id) {
    const QString cx = QString::number(p.cx);
    const QString cy = QString::number(p.cy);
    const QString name = QFileInfo(p.target).fileName();
    x.writeStartElement(u"w:drawing"_s);
    x.writeStartElement(u"wp:inline"_s);
    for (const char* a : {"distT", "distB", "distL", "distR"})
        x.writeAttribute(l1(a), u"0"_s);
    x.writeEmptyElement(u"wp:extent"_s);
    x.writeAttribute(u"cx"_s, cx);
    x.writeAttribute(u"cy"_s, cy);
    x.writeEmptyElement(u"wp:docPr"_s);
    x.writeAttribute(u"id"_s, QString::number(id));
    x.writeAttribute(u"name"_s, name);
    x.writeStartElement(u"wp:cNvGraphicFramePr"_s);
    x.writeEmptyElement(u"a:graphicFrameLocks"_s);
    x.writeAttribute(u"noChangeAspect"_s, u"1"_s);
    x.writeEndElement();
    x.writeStartElement(u"a:graphic"_s);
    x.writeStartElement(u"a:graphicData"_s);
    x.writeAttribute(u"uri"_s, l1(nsPic));
    x.writeStartElement(u"pic:pic"_s);
    x.writeStartElement(u"pic:nvPicPr"_s);
    x.writeEmptyElement(u"pic:cNvPr"_s);
    x.writeAttribute(u"id"_s, QString::number(id));
    x.writeAttribute(u"name"_s, name);
    x.writeEmptyElement(u"pic:cNvPicPr"_s);
    x.writeEndElement();
    x.writeStartElement(u"pic:blipFill"_s);
    x.writeEmptyElement(u"a:blip"_s);
    x.writeAttribute(u"r:embed"_s, p.relationId);
    x.writeStartElement(u"a:stretch"_s);
    x.writeEmptyElement(u"a:fillRect"_s);
    x.writeEndElement();
    x.writeEndElement();
    x.writeStartElement(u"pic:spPr"_s);
    x.writeStartElement(u"a:xfrm"_s);
    x.writeEmptyElement(u"a:off"_s);
    x.writeAttribute(u"x"_s, u"0"_s);
    x.writeAttribute(u"y"_s, u"0"_s);
    x.writeEmptyElement(u"a:ext"_s);
    x.writeAttribute(u"cx"_s, cx);
    x.writeAttribute(u"cy"_s, cy);
    x.writeEndElement();
    x.writeStartElement(u"a:prstGeom"_s);
    x.writeAttribute(u"prst"_s, u"rect"_s);
    x.writeEmptyElement(u"a:avLst"_s);
    x.writeEndElement();
    x.writeEndElement(); // spPr
    x.writeEndElement(); // pic
    x.writeEndElement(); // graphicData
    x.writeEndElement(); // graphic
    x.writeEndElement(); // inline
    x.writeEndElement(); // drawing
}

std::optional<Picture> loadPicture(const QString& path, int number) {
    QImage image(path);
    if (image.isNull())
        return std::nullopt;
    Picture p;
    QBuffer buffer(&p.png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return std::nullopt;
    p.relationId = u"rIdImage"_s + QString::number(number);
    p.target = u"media/image"_s + QString::number(number) + u".png"_s;
    p.cx = image.width() * emuPerPixel;
    p.cy = image.height() * emuPerPixel;
    if (p.cx > maxPictureWidth) {
        p.cy = p.cy * maxPictureWidth / p.cx;
        p.cx = maxPictureWidth;
    }
    return p;
}

QByteArray documentXml(const QList<ReportParagraph>& paragraphs, const QList<Picture>& pictures) {
    XmlOut out;
    QXmlStreamWriter& x = *out;
    x.writeStartElement(u"w:document"_s);
    x.writeAttribute(u"xmlns:w"_s, l1(nsW));
    x.writeAttribute(u"xmlns:r"_s, l1(nsR));
    x.writeAttribute(u"xmlns:wp"_s, l1(nsWp));
    x.writeAttribute(u"xmlns:a"_s, l1(nsA));
    x.writeAttribute(u"xmlns:pic"_s, l1(nsPic));
    x.writeStartElement(u"w:body"_s);
    int picture = 0;
    for (const ReportParagraph& para : paragraphs) {
        x.writeStartElement(u"w:p"_s);
        if (para.alignment == ReportParagraph::Alignment::Center) {
            x.writeStartElement(u"w:pPr"_s);
            x.writeEmptyElement(u"w:jc"_s);
            x.writeAttribute(u"w:val"_s, u"center"_s);
            x.writeEndElement();
        }
        for (const ReportRun& run : para.runs) {
            x.writeStartElement(u"w:r"_s);
            if (run.isPicture()) {
                writePicture(x, pictures.at(picture), picture + 1);
                ++picture;
            } else {
                writeRunProperties(x, run);
                if (run.font == ReportBuilder::symbolFont()) {
                    writeSymbols(x, run);
                } else {
                    x.writeStartElement(u"w:t"_s);
                    x.writeAttribute(u"xml:space"_s, u"preserve"_s);
                    x.writeCharacters(run.text);
                    x.writeEndElement();
                }
            }
            x.writeEndElement();
        }
        x.writeEndElement();
    }
    // A4 with 2 cm margins.
    x.writeStartElement(u"w:sectPr"_s);
    x.writeEmptyElement(u"w:pgSz"_s);
    x.writeAttribute(u"w:w"_s, u"11906"_s);
    x.writeAttribute(u"w:h"_s, u"16838"_s);
    x.writeEmptyElement(u"w:pgMar"_s);
    for (const char* a : {"w:top", "w:right", "w:bottom", "w:left"})
        x.writeAttribute(l1(a), u"1134"_s);
    for (const char* a : {"w:header", "w:footer"})
        x.writeAttribute(l1(a), u"709"_s);
    x.writeAttribute(u"w:gutter"_s, u"0"_s);
    x.writeEndElement();
    x.writeEndElement(); // body
    x.writeEndElement(); // document
    return out.finish();
}

QByteArray contentTypesXml() {
    XmlOut out;
    QXmlStreamWriter& x = *out;
    x.writeStartElement(u"Types"_s);
    x.writeAttribute(u"xmlns"_s, u"http://schemas.openxmlformats.org/package/2006/content-types"_s);
    const std::pair<const char*, const char*> defaults[] = {
        {"rels", "application/vnd.openxmlformats-package.relationships+xml"},
        {"xml", "application/xml"},
        {"png", "image/png"}};
    for (const auto& [ext, type] : defaults) {
        x.writeEmptyElement(u"Default"_s);
        x.writeAttribute(u"Extension"_s, l1(ext));
        x.writeAttribute(u"ContentType"_s, l1(type));
    }
    x.writeEmptyElement(u"Override"_s);
    x.writeAttribute(u"PartName"_s, u"/word/document.xml"_s);
    x.writeAttribute(u"ContentType"_s,
                     u"application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"_s);
    x.writeEndElement();
    return out.finish();
}

QByteArray relationshipsXml(const QList<std::pair<QString, QString>>& idTargets, const QString& type) {
    XmlOut out;
    QXmlStreamWriter& x = *out;
    x.writeStartElement(u"Relationships"_s);
    x.writeAttribute(u"xmlns"_s, u"http://schemas.openxmlformats.org/package/2006/relationships"_s);
    for (const auto& [id, target] : idTargets) {
        x.writeEmptyElement(u"Relationship"_s);
        x.writeAttribute(u"Id"_s, id);
        x.writeAttribute(u"Type"_s, type);
        x.writeAttribute(u"Target"_s, target);
    }
    x.writeEndElement();
    return out.finish();
}

// The archive built in memory: written to the file in one go only when it is complete.
std::optional<QByteArray> zipArchive(const QList<std::pair<QString, QByteArray>>& entries) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
    if (!buffer)
        return std::nullopt;
    std::unique_ptr<zip_source_t, decltype(&zip_source_free)> keep(buffer, &zip_source_free);
    zip_source_keep(buffer);
    zip_t* archive = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
    if (!archive) {
        zip_error_fini(&error);
        return std::nullopt;
    }
    for (const auto& [name, data] : entries) {
        zip_source_t* s = zip_source_buffer(archive, data.constData(), zip_uint64_t(data.size()), 0);
        if (!s || zip_file_add(archive, name.toUtf8().constData(), s, ZIP_FL_ENC_UTF_8) < 0) {
            if (s)
                zip_source_free(s);
            zip_discard(archive);
            return std::nullopt;
        }
    }
    if (zip_close(archive) < 0) {
        zip_discard(archive);
        return std::nullopt;
    }
    if (zip_source_open(buffer) < 0)
        return std::nullopt;
    zip_source_seek(buffer, 0, SEEK_END);
    const zip_int64_t size = zip_source_tell(buffer);
    zip_source_seek(buffer, 0, SEEK_SET);
    QByteArray bytes(qsizetype(size < 0 ? 0 : size), Qt::Uninitialized);
    const zip_int64_t read = zip_source_read(buffer, bytes.data(), zip_uint64_t(bytes.size()));
    zip_source_close(buffer);
    if (size < 0 || read != size)
        return std::nullopt;
    return bytes;
}
} // namespace

bool writeDocx(const QList<ReportParagraph>& paragraphs, const QString& fileName, QString* error) {
    const auto fail = [&](const QString& message) {
        if (error)
            *error = message;
        return false;
    };
    QList<Picture> pictures;
    for (const ReportParagraph& para : paragraphs)
        for (const ReportRun& run : para.runs)
            if (run.isPicture()) {
                auto p = loadPicture(run.picture, int(pictures.size()) + 1);
                if (!p)
                    return fail(u"Ошибка. Графический файл "_s + run.picture + u" не удается прочитать."_s);
                pictures << *p;
            }

    QList<std::pair<QString, QString>> documentRelations;
    for (const Picture& p : pictures)
        documentRelations.append({p.relationId, p.target});
    QList<std::pair<QString, QByteArray>> entries{
        {u"[Content_Types].xml"_s, contentTypesXml()},
        {u"_rels/.rels"_s,
         relationshipsXml(
             {{u"rId1"_s, u"word/document.xml"_s}},
             u"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument"_s)},
        {u"word/document.xml"_s, documentXml(paragraphs, pictures)},
        {u"word/_rels/document.xml.rels"_s,
         relationshipsXml(documentRelations,
                          u"http://schemas.openxmlformats.org/officeDocument/2006/relationships/image"_s)}};
    for (const Picture& p : pictures)
        entries.append({u"word/"_s + p.target, p.png});

    const QString cannotWrite = u"Ошибка. Не удалось записать отчет в файл "_s + fileName + QLatin1Char('.');
    const auto bytes = zipArchive(entries);
    if (!bytes)
        return fail(cannotWrite);
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(*bytes) != bytes->size() || !file.commit())
        return fail(cannotWrite);
    return true;
}

} // namespace kz
