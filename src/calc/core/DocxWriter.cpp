#include "DocxWriter.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QSaveFile>
#include <QXmlStreamWriter>
#include <zip.h>

#include <memory>
#include <utility>

namespace kz {

namespace {
QString u(const char* text) {
    return QString::fromUtf8(text);
}
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
    x.writeStartElement(l1("w:rPr"));
    if (!run.font.isEmpty()) {
        x.writeEmptyElement(l1("w:rFonts"));
        for (const char* a : {"w:ascii", "w:hAnsi", "w:cs", "w:eastAsia"})
            x.writeAttribute(l1(a), run.font);
    }
    if (run.bold) {
        x.writeEmptyElement(l1("w:b"));
        x.writeEmptyElement(l1("w:bCs"));
    }
    if (run.position != ReportRun::Position::Normal) {
        x.writeEmptyElement(l1("w:vertAlign"));
        x.writeAttribute(l1("w:val"), run.position == ReportRun::Position::Superscript ? l1("superscript")
                                                                                       : l1("subscript"));
    }
    const QString halfPoints = QString::number(run.size * 2);
    x.writeEmptyElement(l1("w:sz"));
    x.writeAttribute(l1("w:val"), halfPoints);
    x.writeEmptyElement(l1("w:szCs"));
    x.writeAttribute(l1("w:val"), halfPoints);
    x.writeEndElement();
}

// The Symbol font's letters as symbol characters, so that "r" shows as rho in any word processor.
void writeSymbols(QXmlStreamWriter& x, const ReportRun& run) {
    for (const QChar c : run.text) {
        x.writeEmptyElement(l1("w:sym"));
        x.writeAttribute(l1("w:font"), run.font);
        x.writeAttribute(l1("w:char"), QString::number(0xF000 + c.unicode(), 16).toUpper());
    }
}

void writePicture(QXmlStreamWriter& x, const Picture& p, int id) {
    const QString cx = QString::number(p.cx);
    const QString cy = QString::number(p.cy);
    const QString name = QFileInfo(p.target).fileName();
    x.writeStartElement(l1("w:drawing"));
    x.writeStartElement(l1("wp:inline"));
    for (const char* a : {"distT", "distB", "distL", "distR"})
        x.writeAttribute(l1(a), l1("0"));
    x.writeEmptyElement(l1("wp:extent"));
    x.writeAttribute(l1("cx"), cx);
    x.writeAttribute(l1("cy"), cy);
    x.writeEmptyElement(l1("wp:docPr"));
    x.writeAttribute(l1("id"), QString::number(id));
    x.writeAttribute(l1("name"), name);
    x.writeStartElement(l1("wp:cNvGraphicFramePr"));
    x.writeEmptyElement(l1("a:graphicFrameLocks"));
    x.writeAttribute(l1("noChangeAspect"), l1("1"));
    x.writeEndElement();
    x.writeStartElement(l1("a:graphic"));
    x.writeStartElement(l1("a:graphicData"));
    x.writeAttribute(l1("uri"), l1(nsPic));
    x.writeStartElement(l1("pic:pic"));
    x.writeStartElement(l1("pic:nvPicPr"));
    x.writeEmptyElement(l1("pic:cNvPr"));
    x.writeAttribute(l1("id"), QString::number(id));
    x.writeAttribute(l1("name"), name);
    x.writeEmptyElement(l1("pic:cNvPicPr"));
    x.writeEndElement();
    x.writeStartElement(l1("pic:blipFill"));
    x.writeEmptyElement(l1("a:blip"));
    x.writeAttribute(l1("r:embed"), p.relationId);
    x.writeStartElement(l1("a:stretch"));
    x.writeEmptyElement(l1("a:fillRect"));
    x.writeEndElement();
    x.writeEndElement();
    x.writeStartElement(l1("pic:spPr"));
    x.writeStartElement(l1("a:xfrm"));
    x.writeEmptyElement(l1("a:off"));
    x.writeAttribute(l1("x"), l1("0"));
    x.writeAttribute(l1("y"), l1("0"));
    x.writeEmptyElement(l1("a:ext"));
    x.writeAttribute(l1("cx"), cx);
    x.writeAttribute(l1("cy"), cy);
    x.writeEndElement();
    x.writeStartElement(l1("a:prstGeom"));
    x.writeAttribute(l1("prst"), l1("rect"));
    x.writeEmptyElement(l1("a:avLst"));
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
    p.relationId = l1("rIdImage") + QString::number(number);
    p.target = l1("media/image") + QString::number(number) + l1(".png");
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
    x.writeStartElement(l1("w:document"));
    x.writeAttribute(l1("xmlns:w"), l1(nsW));
    x.writeAttribute(l1("xmlns:r"), l1(nsR));
    x.writeAttribute(l1("xmlns:wp"), l1(nsWp));
    x.writeAttribute(l1("xmlns:a"), l1(nsA));
    x.writeAttribute(l1("xmlns:pic"), l1(nsPic));
    x.writeStartElement(l1("w:body"));
    int picture = 0;
    for (const ReportParagraph& para : paragraphs) {
        x.writeStartElement(l1("w:p"));
        if (para.alignment == ReportParagraph::Alignment::Center) {
            x.writeStartElement(l1("w:pPr"));
            x.writeEmptyElement(l1("w:jc"));
            x.writeAttribute(l1("w:val"), l1("center"));
            x.writeEndElement();
        }
        for (const ReportRun& run : para.runs) {
            x.writeStartElement(l1("w:r"));
            if (run.isPicture()) {
                writePicture(x, pictures.at(picture), picture + 1);
                ++picture;
            } else {
                writeRunProperties(x, run);
                if (run.font == ReportBuilder::symbolFont()) {
                    writeSymbols(x, run);
                } else {
                    x.writeStartElement(l1("w:t"));
                    x.writeAttribute(l1("xml:space"), l1("preserve"));
                    x.writeCharacters(run.text);
                    x.writeEndElement();
                }
            }
            x.writeEndElement();
        }
        x.writeEndElement();
    }
    // A4 with 2 cm margins.
    x.writeStartElement(l1("w:sectPr"));
    x.writeEmptyElement(l1("w:pgSz"));
    x.writeAttribute(l1("w:w"), l1("11906"));
    x.writeAttribute(l1("w:h"), l1("16838"));
    x.writeEmptyElement(l1("w:pgMar"));
    for (const char* a : {"w:top", "w:right", "w:bottom", "w:left"})
        x.writeAttribute(l1(a), l1("1134"));
    for (const char* a : {"w:header", "w:footer"})
        x.writeAttribute(l1(a), l1("709"));
    x.writeAttribute(l1("w:gutter"), l1("0"));
    x.writeEndElement();
    x.writeEndElement(); // body
    x.writeEndElement(); // document
    return out.finish();
}

QByteArray contentTypesXml() {
    XmlOut out;
    QXmlStreamWriter& x = *out;
    x.writeStartElement(l1("Types"));
    x.writeAttribute(l1("xmlns"), l1("http://schemas.openxmlformats.org/package/2006/content-types"));
    const std::pair<const char*, const char*> defaults[] = {
        {"rels", "application/vnd.openxmlformats-package.relationships+xml"},
        {"xml", "application/xml"},
        {"png", "image/png"}};
    for (const auto& [ext, type] : defaults) {
        x.writeEmptyElement(l1("Default"));
        x.writeAttribute(l1("Extension"), l1(ext));
        x.writeAttribute(l1("ContentType"), l1(type));
    }
    x.writeEmptyElement(l1("Override"));
    x.writeAttribute(l1("PartName"), l1("/word/document.xml"));
    x.writeAttribute(l1("ContentType"),
                     l1("application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"));
    x.writeEndElement();
    return out.finish();
}

QByteArray relationshipsXml(const QList<std::pair<QString, QString>>& idTargets, const QString& type) {
    XmlOut out;
    QXmlStreamWriter& x = *out;
    x.writeStartElement(l1("Relationships"));
    x.writeAttribute(l1("xmlns"), l1("http://schemas.openxmlformats.org/package/2006/relationships"));
    for (const auto& [id, target] : idTargets) {
        x.writeEmptyElement(l1("Relationship"));
        x.writeAttribute(l1("Id"), id);
        x.writeAttribute(l1("Type"), type);
        x.writeAttribute(l1("Target"), target);
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
                    return fail(u("Ошибка. Графический файл ") + run.picture + u(" не удается прочитать."));
                pictures << *p;
            }

    QList<std::pair<QString, QString>> documentRelations;
    for (const Picture& p : pictures)
        documentRelations.append({p.relationId, p.target});
    QList<std::pair<QString, QByteArray>> entries{
        {l1("[Content_Types].xml"), contentTypesXml()},
        {l1("_rels/.rels"),
         relationshipsXml(
             {{l1("rId1"), l1("word/document.xml")}},
             l1("http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument"))},
        {l1("word/document.xml"), documentXml(paragraphs, pictures)},
        {l1("word/_rels/document.xml.rels"),
         relationshipsXml(documentRelations,
                          l1("http://schemas.openxmlformats.org/officeDocument/2006/relationships/image"))}};
    for (const Picture& p : pictures)
        entries.append({l1("word/") + p.target, p.png});

    const QString cannotWrite = u("Ошибка. Не удалось записать отчет в файл ") + fileName + QLatin1Char('.');
    const auto bytes = zipArchive(entries);
    if (!bytes)
        return fail(cannotWrite);
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(*bytes) != bytes->size() || !file.commit())
        return fail(cannotWrite);
    return true;
}

} // namespace kz
