#include "PlistReader.h"

#include "LibraryImport.h"
#include "support/FormattedString.h"

#include <QDateTime>

#include <charconv>

namespace tessel::itunes::plist {

namespace {

// Deeper nesting than any real export means a hostile or broken file; it must not exhaust
// the stack.
constexpr int kMaxDepth = 64;

bool isSpace(char c) {
    return c == ' ' || c == '\n' || c == '\t' || c == '\r';
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), text.size());
}

int digits(std::string_view text, size_t from, size_t count) {
    int number = 0;
    for (size_t i = from; i < from + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return -1;
        number = number * 10 + (text[i] - '0');
    }
    return number;
}

// The form every export writes, 2001-02-03T04:05:06Z, checked without the general parser: an
// export holds a few dates per track and they are mostly passed over.
bool isPlainDate(std::string_view text) {
    if (text.size() != 20 || text[4] != '-' || text[7] != '-' || text[10] != 'T' ||
        text[13] != ':' || text[16] != ':' || text[19] != 'Z')
        return false;
    const int year = digits(text, 0, 4);  // -1 for a character that is no digit, which
    return year >= 0 &&                   // QDate would take for a year before Christ
           QDate::isValid(year, digits(text, 5, 2), digits(text, 8, 2)) &&
           QTime::isValid(digits(text, 11, 2), digits(text, 14, 2), digits(text, 17, 2));
}

// A whole number in decimal, with an optional sign.
bool parseInteger(std::string_view text, qint64& number) {
    if (text.size() > 1 && text.front() == '+' && text[1] != '-')
        text.remove_prefix(1);
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, number);
    return !text.empty() && error == std::errc() && stop == end;
}

const char* nameOf(Element element) {
    switch (element) {
        case Element::Plist:
            return "plist";
        case Element::Dict:
            return "dict";
        case Element::Array:
            return "array";
        case Element::Key:
            return "key";
        case Element::String:
            return "string";
        case Element::Integer:
            return "integer";
        case Element::Real:
            return "real";
        case Element::True:
            return "true";
        case Element::False:
            return "false";
        case Element::Date:
            return "date";
        case Element::Data:
            return "data";
        case Element::Other:
            break;
    }
    return "";
}

}  // namespace

Reader::Reader(QIODevice& device, const QString& fileName) : tokens_(device), fileName_(fileName) {}

void Reader::begin() {
    if (!nextStartElement() || element_ != Element::Plist)
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
    throw importError(
        formattedString(QStringLiteral("“%@”, line %lld: %@."), fileName_, line_, problem));
}

// The next token, checked. Every caller is inside the top-level value, so the end of the
// document is the end of the file too early.
const Token& Reader::nextToken() {
    const Token& token = tokens_.next();
    line_ = token.line;
    if (token.kind == Token::Error)
        fail(tokens_.problem());
    if (token.kind == Token::EndOfDocument)
        fail(QStringLiteral("the file ends too early"));
    return token;
}

QString Reader::elementName() const {
    return element_ == Element::Other ? fromUtf8(otherName_)
                                      : QString::fromLatin1(nameOf(element_));
}

// Advances to the next start element of the current level; false at its end.
bool Reader::nextStartElement() {
    for (;;) {
        const Token& token = nextToken();
        if (token.kind == Token::Start) {
            element_ = token.element;
            if (element_ == Element::Other)
                otherName_ = tokens_.text(token);
            return true;
        }
        if (token.kind == Token::End)
            return false;
        if (!trimmed(tokens_.text(token)).empty())
            fail(QStringLiteral("text outside of a value"));
    }
}

void Reader::failInside() {
    fail(formattedString(QStringLiteral("unexpected element <%@> inside a value"), elementName()));
}

// The text of a simple element, into a buffer that keeps its room from one value to the next.
void Reader::readText(std::string& into) {
    into.clear();
    for (;;) {
        const Token& token = nextToken();
        if (token.kind == Token::Text) {
            into.append(tokens_.text(token));
        } else if (token.kind == Token::End) {
            return;
        } else {
            element_ = token.element;
            if (element_ == Element::Other)
                otherName_ = tokens_.text(token);
            failInside();
        }
    }
}

QString Reader::text() {
    readText(scratch_);
    return fromUtf8(scratch_);
}

// As text(), keeping nothing.
void Reader::skipText() {
    for (;;) {
        const Token& token = nextToken();
        if (token.kind == Token::End)
            return;
        if (token.kind == Token::Start) {
            element_ = token.element;
            if (element_ == Element::Other)
                otherName_ = tokens_.text(token);
            failInside();
        }
    }
}

void Reader::enter() {
    if (++depth_ > kMaxDepth)
        fail(QStringLiteral("values are nested too deeply"));
}

bool Reader::nextEntry(std::string& key) {
    if (!nextStartElement()) {
        --depth_;
        return false;
    }
    if (element_ != Element::Key)
        fail(QStringLiteral("a dictionary entry has no key"));
    readText(key);
    if (!nextStartElement() || element_ == Element::Key)
        fail(formattedString(QStringLiteral("the key “%@” has no value"), fromUtf8(key)));
    return true;
}

bool Reader::nextItem() {
    if (nextStartElement())
        return true;
    --depth_;
    return false;
}

QVariant Reader::value() {
    switch (element_) {
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
            readText(scratch_);
            return QByteArray::fromBase64(QByteArray(scratch_.data(), qsizetype(scratch_.size())));
        default:
            break;
    }
    fail(formattedString(QStringLiteral("unexpected element <%@>"), elementName()));
}

void Reader::skip() {
    switch (element_) {
        case Element::Dict: {
            enter();
            std::string key;
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
    std::string key;
    while (nextEntry(key)) {
        const QString name = fromUtf8(key);
        map.insert(name, value());
    }
    return map;
}

QVariant Reader::array() {
    enter();
    QVariantList list;
    while (nextItem())
        list.append(value());
    return list;
}

qint64 Reader::integer() {
    readText(scratch_);
    qint64 number = 0;
    if (!parseInteger(trimmed(scratch_), number))
        fail(QStringLiteral("an integer value is not a whole number"));
    return number;
}

QVariant Reader::real() {
    readText(scratch_);
    bool ok = false;
    const std::string_view number = trimmed(scratch_);
    const double result = QByteArray(number.data(), qsizetype(number.size())).toDouble(&ok);
    if (!ok)
        fail(QStringLiteral("a real value is not a number"));
    return result;
}

QVariant Reader::boolean(bool truth) {
    if (nextStartElement())
        fail(QStringLiteral("a truth value has content"));
    return truth;
}

QVariant Reader::date() {
    readText(scratch_);
    QDateTime moment = QDateTime::fromString(fromUtf8(trimmed(scratch_)), Qt::ISODate);
    if (!moment.isValid())
        fail(QStringLiteral("a date is not in the form 2001-02-03T04:05:06Z"));
    return moment.toUTC();
}

void Reader::checkDate() {
    readText(scratch_);
    const std::string_view moment = trimmed(scratch_);
    if (!isPlainDate(moment) && !QDateTime::fromString(fromUtf8(moment), Qt::ISODate).isValid())
        fail(QStringLiteral("a date is not in the form 2001-02-03T04:05:06Z"));
}

}  // namespace tessel::itunes::plist
