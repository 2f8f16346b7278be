#include "PlistReader.h"

#include "LibraryImport.h"
#include "support/FormattedString.h"

#include <QDateTime>

namespace tessel::itunes::plist {

namespace {

// Deeper nesting than any real export means a hostile or broken file; it must not exhaust
// the stack.
constexpr int kMaxDepth = 64;

int digits(QStringView text, qsizetype from, qsizetype count) {
    int number = 0;
    for (qsizetype i = from; i < from + count; ++i) {
        if (text[i] < u'0' || text[i] > u'9')
            return -1;
        number = number * 10 + (text[i].unicode() - u'0');
    }
    return number;
}

// The form every export writes, 2001-02-03T04:05:06Z, checked without the general parser: an
// export holds a few dates per track and they are mostly passed over.
bool isPlainDate(QStringView text) {
    if (text.size() != 20 || text[4] != u'-' || text[7] != u'-' || text[10] != u'T' ||
        text[13] != u':' || text[16] != u':' || text[19] != u'Z')
        return false;
    return QDate::isValid(digits(text, 0, 4), digits(text, 5, 2), digits(text, 8, 2)) &&
           QTime::isValid(digits(text, 11, 2), digits(text, 14, 2), digits(text, 17, 2));
}

}  // namespace

// Element names are told apart by their length first: few full comparisons per element.
Reader::Element Reader::elementKind() const {
    const QStringView name = xml_.name();
    switch (name.size()) {
        case 4:
            if (name == u"dict")
                return Element::Dict;
            if (name == u"date")
                return Element::Date;
            if (name == u"data")
                return Element::Data;
            if (name == u"true")
                return Element::True;
            if (name == u"real")
                return Element::Real;
            break;
        case 5:
            if (name == u"array")
                return Element::Array;
            if (name == u"false")
                return Element::False;
            break;
        case 6:
            if (name == u"string")
                return Element::String;
            break;
        case 7:
            if (name == u"integer")
                return Element::Integer;
            break;
    }
    return Element::Other;
}

Reader::Reader(QIODevice& device, const QString& fileName) : xml_(&device), fileName_(fileName) {}

void Reader::begin() {
    if (!nextStartElement() || xml_.name() != u"plist")
        fail(QStringLiteral("it is not a property list"));
    if (!nextStartElement())
        fail(QStringLiteral("the property list is empty"));
}

void Reader::end() {
    if (nextStartElement())
        fail(QStringLiteral("the property list holds more than one value"));
}

void Reader::fail(QString problem) {
    while (problem.endsWith(u'.'))
        problem.chop(1);
    throw importError(formattedString(QStringLiteral("“%@”, line %lld: %@."), fileName_,
                                      xml_.lineNumber(), problem));
}

// The next token, checked. A library export declares no entities; refusing every declaration
// keeps external ones from being read and nested ones from growing without bound. Every caller
// is inside the top-level value, so the end of the document is the end of the file too early.
QXmlStreamReader::TokenType Reader::nextToken() {
    const auto token = xml_.readNext();
    switch (token) {
        case QXmlStreamReader::Invalid:
            fail(xml_.errorString());
        case QXmlStreamReader::EntityReference:
            fail(formattedString(QStringLiteral("unknown entity “&%@;”"), xml_.name().toString()));
        case QXmlStreamReader::DTD:
            if (!xml_.entityDeclarations().isEmpty())
                fail(QStringLiteral("the document declares entities"));
            break;
        case QXmlStreamReader::EndDocument:
            fail(QStringLiteral("the file ends too early"));
        default:
            break;
    }
    return token;
}

// Advances to the next start element of the current level; false at its end.
bool Reader::nextStartElement() {
    for (;;) {
        const auto token = nextToken();
        if (token == QXmlStreamReader::StartElement)
            return true;
        if (token == QXmlStreamReader::EndElement)
            return false;
        if (token == QXmlStreamReader::Characters && !xml_.isWhitespace())
            fail(QStringLiteral("text outside of a value"));
    }
}

// The text of a simple element, into a buffer that keeps its room from one value to the
// next. An entity the document does not define stops the read: dropping it would change the
// value, and resolving it is never done.
void Reader::readText(QString& into) {
    into.resize(0);
    for (;;) {
        const auto token = nextToken();
        if (token == QXmlStreamReader::Characters)
            into.append(xml_.text());
        else if (token == QXmlStreamReader::EndElement)
            return;
        else if (token == QXmlStreamReader::StartElement)
            fail(formattedString(QStringLiteral("unexpected element <%@> inside a value"),
                                 xml_.name().toString()));
    }
}

QString Reader::text() {
    QString result;
    readText(result);
    return result;
}

// As text(), keeping nothing.
void Reader::skipText() {
    for (;;) {
        const auto token = nextToken();
        if (token == QXmlStreamReader::EndElement)
            return;
        if (token == QXmlStreamReader::StartElement)
            fail(formattedString(QStringLiteral("unexpected element <%@> inside a value"),
                                 xml_.name().toString()));
    }
}

void Reader::enter() {
    if (++depth_ > kMaxDepth)
        fail(QStringLiteral("values are nested too deeply"));
}

bool Reader::nextEntry(QString& key) {
    if (!nextStartElement()) {
        --depth_;
        return false;
    }
    if (xml_.name() != u"key")
        fail(QStringLiteral("a dictionary entry has no key"));
    readText(key);
    if (!nextStartElement() || xml_.name() == u"key")
        fail(formattedString(QStringLiteral("the key “%@” has no value"), key));
    return true;
}

bool Reader::nextItem() {
    if (nextStartElement())
        return true;
    --depth_;
    return false;
}

QVariant Reader::value() {
    switch (elementKind()) {
        case Element::Dict:
            return dict();
        case Element::Array:
            return array();
        case Element::String:
            return text();
        case Element::Integer:
            return integer();
        case Element::Real:
            return real();
        case Element::True:
            return boolean(true);
        case Element::False:
            return boolean(false);
        case Element::Date:
            return date();
        case Element::Data:
            return QByteArray::fromBase64(text().toLatin1());
        case Element::Other:
            break;
    }
    fail(formattedString(QStringLiteral("unexpected element <%@>"), xml_.name().toString()));
}

void Reader::skip() {
    switch (elementKind()) {
        case Element::Dict: {
            enter();
            QString key;
            while (nextEntry(key))
                skip();
            return;
        }
        case Element::Array:
            enter();
            while (nextItem())
                skip();
            return;
        case Element::String:
        case Element::Data:
            return skipText();
        case Element::Date:
            return checkDate();
        case Element::Integer:
            integer();
            return;
        default:
            value();  // small, and its reading is its check
    }
}

QVariant Reader::dict() {
    enter();
    QVariantMap map;
    QString key;
    while (nextEntry(key))
        map.insert(key, value());
    return map;
}

QVariant Reader::array() {
    enter();
    QVariantList list;
    while (nextItem())
        list.append(value());
    return list;
}

QVariant Reader::integer() {
    bool ok = false;
    readText(scratch_);
    const qint64 number = QStringView(scratch_).trimmed().toLongLong(&ok);
    if (!ok)
        fail(QStringLiteral("an integer value is not a whole number"));
    return number;
}

QVariant Reader::real() {
    bool ok = false;
    const double number = text().trimmed().toDouble(&ok);
    if (!ok)
        fail(QStringLiteral("a real value is not a number"));
    return number;
}

QVariant Reader::boolean(bool truth) {
    if (nextStartElement())
        fail(QStringLiteral("a truth value has content"));
    return truth;
}

QVariant Reader::date() {
    QDateTime moment = QDateTime::fromString(text().trimmed(), Qt::ISODate);
    if (!moment.isValid())
        fail(QStringLiteral("a date is not in the form 2001-02-03T04:05:06Z"));
    return moment.toUTC();
}

void Reader::checkDate() {
    readText(scratch_);
    const QStringView moment = QStringView(scratch_).trimmed();
    if (!isPlainDate(moment) && !QDateTime::fromString(moment.toString(), Qt::ISODate).isValid())
        fail(QStringLiteral("a date is not in the form 2001-02-03T04:05:06Z"));
}

}  // namespace tessel::itunes::plist
