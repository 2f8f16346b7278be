// The tokens of an XML property list, read from a device a chunk at a time by expat: element
// starts and ends, and text, each with its line. Only the tokens of one chunk are held at once,
// so the memory stays small whatever the size of the document. The tokenizer never fetches the
// document type, refuses every entity declaration and stops at the end of the top element.
#pragma once

#include <QIODevice>
#include <QString>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct XML_ParserStruct;

namespace tessel::itunes::plist {

/// The element names of a property list; any other name is Other.
enum class Element : std::uint8_t {
    Plist,
    Dict,
    Array,
    Key,
    String,
    Integer,
    Real,
    True,
    False,
    Date,
    Data,
    Other
};

struct Token {
    /// Error: the document is not well-formed (or unreadable) here; End of document: the top
    /// element has ended.
    enum Kind : std::uint8_t { Start, End, Text, Error, EndOfDocument };
    Kind kind;
    Element element;          // of a Start
    std::uint32_t begin = 0;  // the text of a Text, the name of an Other start, in the chunk's
    std::uint32_t size = 0;   // text (UTF-8)
    qint64 line = 0;
};

class Tokenizer {
  public:
    explicit Tokenizer(QIODevice& device);
    ~Tokenizer();
    Tokenizer(const Tokenizer&) = delete;
    Tokenizer& operator=(const Tokenizer&) = delete;

    /// The next token, valid until the following call. After an Error or the end of the
    /// document, the same token again.
    const Token& next();
    /// The UTF-8 text of a token of the chunk being read (a Text, or an Other start's name).
    std::string_view text(const Token& token) const {
        return std::string_view(text_).substr(token.begin, token.size);
    }
    /// What went wrong, for an Error token.
    const QString& problem() const { return problem_; }

  private:
    friend struct Handlers;
    void read();
    void push(Token::Kind kind, Element element = Element::Other);
    void started(const char* name);
    void ended();
    void characters(const char* data, int size);
    void stop(QString problem);
    void failed();
    qint64 line() const;

    QIODevice& device_;
    XML_ParserStruct* parser_;
    std::vector<Token> tokens_;
    size_t cursor_ = 0;
    std::string text_;
    int depth_ = 0;
    bool keepsWhitespace_ = false;  // inside an element whose text is a value
    bool stopped_ = false;          // by the end of the top element or a refusal
    bool done_ = false;
    QString problem_;
};

}  // namespace tessel::itunes::plist
