#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QXmlStreamReader>
#include <zip.h>

// Reads back a written .docx: its entries and the texts of document.xml, for the tests.
struct DocxContents {
    QMap<QString, QByteArray> entries;
    bool opened = false;

    static DocxContents read(const QString& path) {
        DocxContents c;
        int error = 0;
        zip_t* archive = zip_open(path.toLocal8Bit().constData(), ZIP_RDONLY, &error);
        if (!archive)
            return c;
        c.opened = true;
        const zip_int64_t n = zip_get_num_entries(archive, 0);
        for (zip_int64_t i = 0; i < n; ++i) {
            zip_stat_t st;
            if (zip_stat_index(archive, zip_uint64_t(i), 0, &st) < 0)
                continue;
            zip_file_t* f = zip_fopen_index(archive, zip_uint64_t(i), 0);
            QByteArray data(qsizetype(st.size), Qt::Uninitialized);
            if (f) {
                zip_fread(f, data.data(), st.size);
                zip_fclose(f);
            }
            c.entries.insert(QString::fromUtf8(st.name), data);
        }
        zip_close(archive);
        return c;
    }

    QByteArray document() const { return entries.value(QStringLiteral("word/document.xml")); }

    // Paragraph texts of document.xml: w:t texts, a w:sym of the Symbol font as its letter,
    // "[picture]" for a drawing. Empty when the XML is not well formed.
    QStringList paragraphs(QString* xmlError = nullptr) const {
        QStringList all;
        QXmlStreamReader x(document());
        QString current;
        while (!x.atEnd()) {
            x.readNext();
            if (x.isStartElement()) {
                const auto name = x.qualifiedName();
                if (name == QLatin1String("w:p"))
                    current.clear();
                else if (name == QLatin1String("w:t"))
                    current += x.readElementText();
                else if (name == QLatin1String("w:sym"))
                    current +=
                        QChar(x.attributes().value(QLatin1String("w:char")).toUInt(nullptr, 16) - 0xF000);
                else if (name == QLatin1String("w:drawing"))
                    current += QStringLiteral("[picture]");
            } else if (x.isEndElement() && x.qualifiedName() == QLatin1String("w:p")) {
                all << current;
            }
        }
        if (x.hasError()) {
            if (xmlError)
                *xmlError = x.errorString();
            return {};
        }
        return all;
    }
};
