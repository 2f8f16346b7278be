#include "PlistReader.h"

#include "LibraryImport.h"
#include "support/FormattedString.h"

#include <QDateTime>
#include <QXmlStreamReader>

namespace tessel::itunes::plist {

namespace {

// Deeper nesting than any real export means a hostile or broken file; it must not exhaust
// the stack.
constexpr int kMaxDepth = 64;

class Reader {
  public:
    Reader(QIODevice& device, const QString& fileName) : xml_(&device), fileName_(fileName) {}

    QVariant document() {
        if (!nextStartElement() || xml_.name() != u"plist")
            fail(QStringLiteral("it is not a property list"));
        if (!nextStartElement())
            fail(QStringLiteral("the property list is empty"));
        QVariant root = value(0);
        if (nextStartElement())
            fail(QStringLiteral("the property list holds more than one value"));
        return root;
    }

  private:
    [[noreturn]] void fail(QString problem) {
        while (problem.endsWith(u'.'))
            problem.chop(1);
        throw importError(formattedString(QStringLiteral("“%@”, line %lld: %@."), fileName_,
                                          xml_.lineNumber(), problem));
    }

    // A library export declares no entities; refusing every declaration keeps external ones
    // from being read and nested ones from growing without bound.
    void checkXml() {
        if (xml_.hasError())
            fail(xml_.errorString());
        if (xml_.tokenType() == QXmlStreamReader::EntityReference)
            fail(formattedString(QStringLiteral("unknown entity “&%@;”"), xml_.name().toString()));
        if (xml_.tokenType() == QXmlStreamReader::DTD && !xml_.entityDeclarations().isEmpty())
            fail(QStringLiteral("the document declares entities"));
    }

    // Advances to the next start element of the current level; false at its end.
    bool nextStartElement() {
        while (!xml_.atEnd()) {
            const auto token = xml_.readNext();
            checkXml();
            if (token == QXmlStreamReader::StartElement)
                return true;
            if (token == QXmlStreamReader::EndElement)
                return false;
            if (token == QXmlStreamReader::Characters && !xml_.isWhitespace())
                fail(QStringLiteral("text outside of a value"));
        }
        checkXml();
        fail(QStringLiteral("the file ends too early"));
    }

    // The text of a simple element. An entity the document does not define stops the read:
    // dropping it would change the value, and resolving it is never done.
    QString text() {
        QString result;
        while (!xml_.atEnd()) {
            const auto token = xml_.readNext();
            checkXml();
            if (token == QXmlStreamReader::Characters)
                result += xml_.text();
            else if (token == QXmlStreamReader::EndElement)
                return result;
            else if (token == QXmlStreamReader::StartElement)
                fail(formattedString(QStringLiteral("unexpected element <%@> inside a value"),
                                     xml_.name().toString()));
        }
        checkXml();
        fail(QStringLiteral("the file ends too early"));
    }

    QVariant value(int depth) {
        if (depth > kMaxDepth)
            fail(QStringLiteral("values are nested too deeply"));
        const QString name = xml_.name().toString();
        if (name == u"dict")
            return dict(depth);
        if (name == u"array")
            return array(depth);
        if (name == u"string")
            return text();
        if (name == u"integer")
            return integer();
        if (name == u"real")
            return real();
        if (name == u"true" || name == u"false")
            return boolean(name == u"true");
        if (name == u"date")
            return date();
        if (name == u"data")
            return QByteArray::fromBase64(text().toLatin1());
        fail(formattedString(QStringLiteral("unexpected element <%@>"), name));
    }

    QVariant dict(int depth) {
        QVariantMap map;
        while (nextStartElement()) {
            if (xml_.name() != u"key")
                fail(QStringLiteral("a dictionary entry has no key"));
            const QString key = text();
            if (!nextStartElement() || xml_.name() == u"key")
                fail(formattedString(QStringLiteral("the key “%@” has no value"), key));
            map.insert(key, value(depth + 1));
        }
        return map;
    }

    QVariant array(int depth) {
        QVariantList list;
        while (nextStartElement())
            list.append(value(depth + 1));
        return list;
    }

    QVariant integer() {
        bool ok = false;
        const qint64 number = text().trimmed().toLongLong(&ok);
        if (!ok)
            fail(QStringLiteral("an integer value is not a whole number"));
        return number;
    }

    QVariant real() {
        bool ok = false;
        const double number = text().trimmed().toDouble(&ok);
        if (!ok)
            fail(QStringLiteral("a real value is not a number"));
        return number;
    }

    QVariant boolean(bool truth) {
        if (nextStartElement())
            fail(QStringLiteral("a truth value has content"));
        return truth;
    }

    QVariant date() {
        QDateTime moment = QDateTime::fromString(text().trimmed(), Qt::ISODate);
        if (!moment.isValid())
            fail(QStringLiteral("a date is not in the form 2001-02-03T04:05:06Z"));
        return moment.toUTC();
    }

    QXmlStreamReader xml_;
    QString fileName_;
};

}  // namespace

QVariant read(QIODevice& device, const QString& fileName) {
    return Reader(device, fileName).document();
}

}  // namespace tessel::itunes::plist
