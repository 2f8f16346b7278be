#include "PlistTokenizer.h"

#include "support/FormattedString.h"

#include <expat.h>

#include <cstring>

namespace tessel::itunes::plist {

namespace {

// Large enough that a parse call is rare, small enough that its tokens take little room.
constexpr int kChunkSize = 64 * 1024;

// Names are told apart by their length first: few full comparisons per element.
Element elementOf(const char* name) {
    const std::string_view text(name);
    switch (text.size()) {
        case 3:
            if (text == "key")
                return Element::Key;
            break;
        case 4:
            if (text == "dict")
                return Element::Dict;
            if (text == "date")
                return Element::Date;
            if (text == "data")
                return Element::Data;
            if (text == "true")
                return Element::True;
            if (text == "real")
                return Element::Real;
            break;
        case 5:
            if (text == "array")
                return Element::Array;
            if (text == "false")
                return Element::False;
            if (text == "plist")
                return Element::Plist;
            break;
        case 6:
            if (text == "string")
                return Element::String;
            break;
        case 7:
            if (text == "integer")
                return Element::Integer;
            break;
    }
    return Element::Other;
}

// The elements whose text is their value: only there can white space matter. (An element of
// an unknown name keeps its text too, to be refused as it is.)
bool holdsText(Element element) {
    switch (element) {
        case Element::Plist:
        case Element::Dict:
        case Element::Array:
        case Element::True:
        case Element::False:
            return false;
        default:
            return true;
    }
}

bool isWhitespace(const char* data, int size) {
    for (int i = 0; i < size; ++i) {
        const char c = data[i];
        if (c != ' ' && c != '\n' && c != '\t' && c != '\r')
            return false;
    }
    return true;
}

// The name of the entity referred to where expat stopped, from the text around it.
QString entityAt(XML_Parser parser) {
    int offset = 0;
    int size = 0;
    const char* context = XML_GetInputContext(parser, &offset, &size);
    if (!context || offset >= size || context[offset] != '&')
        return QString();
    const char* begin = context + offset + 1;
    const void* semicolon = std::memchr(begin, ';', size_t(size - offset - 1));
    if (!semicolon)
        return QString();
    return QString::fromUtf8(begin, static_cast<const char*>(semicolon) - begin);
}

// Expat's reasons, in the words the earlier reader used where one is common.
QString problemOf(XML_Parser parser) {
    const XML_Error error = XML_GetErrorCode(parser);
    switch (error) {
        case XML_ERROR_NO_ELEMENTS:
        case XML_ERROR_UNCLOSED_TOKEN:
        case XML_ERROR_PARTIAL_CHAR:
        case XML_ERROR_UNCLOSED_CDATA_SECTION:
            return QStringLiteral("Premature end of document.");
        case XML_ERROR_TAG_MISMATCH:
            return QStringLiteral("Opening and ending tag mismatch.");
        case XML_ERROR_JUNK_AFTER_DOC_ELEMENT:
            return QStringLiteral("Extra content at end of document.");
        case XML_ERROR_UNDEFINED_ENTITY:
            return formattedString(QStringLiteral("unknown entity “&%@;”"), entityAt(parser));
        default:
            break;
    }
    QString problem = QString::fromUtf8(XML_ErrorString(error));
    if (!problem.isEmpty())
        problem[0] = problem[0].toUpper();
    return problem + u'.';
}

}  // namespace

// Expat's callbacks, forwarded to the tokenizer they were registered with. Expat may still call
// some after being stopped; the tokenizer ignores them.
struct Handlers {
    static void XMLCALL start(void* tokenizer, const XML_Char* name, const XML_Char**) {
        static_cast<Tokenizer*>(tokenizer)->started(name);
    }
    static void XMLCALL end(void* tokenizer, const XML_Char*) {
        static_cast<Tokenizer*>(tokenizer)->ended();
    }
    static void XMLCALL characters(void* tokenizer, const XML_Char* data, int size) {
        static_cast<Tokenizer*>(tokenizer)->characters(data, size);
    }
    // A library export declares no entities; refusing every declaration keeps external ones
    // from being read and nested ones from growing without bound.
    static void XMLCALL entity(void* tokenizer, const XML_Char*, int, const XML_Char*, int,
                               const XML_Char*, const XML_Char*, const XML_Char*, const XML_Char*) {
        static_cast<Tokenizer*>(tokenizer)->stop(QStringLiteral("the document declares entities"));
    }
    // A reference to an entity nobody declared, in a document whose type lies elsewhere: it is
    // never fetched, and dropping the reference would change the value.
    static void XMLCALL skipped(void* tokenizer, const XML_Char* name, int) {
        static_cast<Tokenizer*>(tokenizer)->stop(
            formattedString(QStringLiteral("unknown entity “&%@;”"), QString::fromUtf8(name)));
    }
};

Tokenizer::Tokenizer(QIODevice& device) : device_(device), parser_(XML_ParserCreate(nullptr)) {
    if (!parser_)
        throw std::bad_alloc();
    XML_SetUserData(parser_, this);
    XML_SetElementHandler(parser_, Handlers::start, Handlers::end);
    XML_SetCharacterDataHandler(parser_, Handlers::characters);
    XML_SetEntityDeclHandler(parser_, Handlers::entity);
    XML_SetSkippedEntityHandler(parser_, Handlers::skipped);
    XML_SetParamEntityParsing(parser_, XML_PARAM_ENTITY_PARSING_NEVER);
}

Tokenizer::~Tokenizer() {
    XML_ParserFree(parser_);
}

const Token& Tokenizer::next() {
    while (cursor_ == tokens_.size()) {
        if (done_)
            return tokens_.back();
        read();
    }
    return tokens_[cursor_++];
}

// Parses the next chunk into tokens; the tokens and text of the one before are done with.
void Tokenizer::read() {
    tokens_.clear();
    text_.clear();
    cursor_ = 0;
    void* buffer = XML_GetBuffer(parser_, kChunkSize);
    if (!buffer)
        throw std::bad_alloc();
    const qint64 size = device_.read(static_cast<char*>(buffer), kChunkSize);
    if (size < 0) {
        problem_ =
            formattedString(QStringLiteral("the file cannot be read (%@)"), device_.errorString());
        push(Token::Error);
        done_ = true;
        return;
    }
    if (XML_ParseBuffer(parser_, int(size), size == 0) == XML_STATUS_ERROR)
        failed();
    else if (size == 0)
        push(Token::EndOfDocument);  // (the end of the top element stops the parse first)
    done_ = done_ || size == 0;
}

// The parse stopped: at the end of the top element, at a refusal of the tokenizer's own or at a
// fault of the document.
void Tokenizer::failed() {
    done_ = true;
    if (XML_GetErrorCode(parser_) == XML_ERROR_ABORTED) {
        if (problem_.isEmpty())
            push(Token::EndOfDocument);  // else stop() has put its Error in place
        return;
    }
    problem_ = problemOf(parser_);
    push(Token::Error);
}

void Tokenizer::push(Token::Kind kind, Element element) {
    Token token{kind, element};
    token.line = line();
    tokens_.push_back(token);
}

qint64 Tokenizer::line() const {
    return qint64(XML_GetCurrentLineNumber(parser_));
}

void Tokenizer::started(const char* name) {
    if (stopped_)
        return;
    const Element element = elementOf(name);
    push(Token::Start, element);
    if (element == Element::Other) {
        tokens_.back().begin = std::uint32_t(text_.size());
        tokens_.back().size = std::uint32_t(std::strlen(name));
        text_.append(name);
    }
    keepsWhitespace_ = holdsText(element);
    ++depth_;
}

// Past the top element nothing is read: what follows it was never part of the value.
void Tokenizer::ended() {
    if (stopped_)
        return;
    push(Token::End);
    keepsWhitespace_ = false;
    if (--depth_ == 0) {
        stopped_ = true;
        XML_StopParser(parser_, XML_FALSE);
    }
}

// Expat hands text over in pieces (at line ends, references, chunk ends); the pieces of one
// chunk are joined. White space between elements is dropped here, as it means nothing.
void Tokenizer::characters(const char* data, int size) {
    if (stopped_)
        return;
    if (!tokens_.empty() && tokens_.back().kind == Token::Text &&
        tokens_.back().begin + tokens_.back().size == text_.size()) {
        text_.append(data, size_t(size));
        tokens_.back().size += std::uint32_t(size);
        return;
    }
    if (!keepsWhitespace_ && isWhitespace(data, size))
        return;
    push(Token::Text);
    tokens_.back().begin = std::uint32_t(text_.size());
    tokens_.back().size = std::uint32_t(size);
    text_.append(data, size_t(size));
}

void Tokenizer::stop(QString problem) {
    if (stopped_)
        return;
    stopped_ = true;
    problem_ = std::move(problem);
    push(Token::Error);
    XML_StopParser(parser_, XML_FALSE);
}

}  // namespace tessel::itunes::plist
