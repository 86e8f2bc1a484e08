#include <algorithm>
#include <climits>
#include <exception>
#include <memory>
#include <optional>
#include <string>

// The system library is built with DTD support; the define makes its entity-expansion bounds visible.
#ifndef XML_DTD
#define XML_DTD
#endif
#include <expat.h>

#include "engine/reference/XmlTree.h"

namespace orvel::SoftwareFormats {
namespace {

// Real resource files nest a handful of levels; a deeper document is refused before the recursive
// tree walks could exhaust the stack.
constexpr std::size_t maximumDepth = 256;
// Entity expansion may add at most this much before the amplification bound applies...
constexpr unsigned long long expansionThreshold = 1ULL << 20;
// ...and beyond it the output may be at most this many times the document's own size.
constexpr float maximumAmplification = 10.0f;
// The parser takes its input as int-sized pieces.
constexpr std::size_t chunkSize = std::size_t{1} << 24;

struct Parse {
    XML_Parser parser = nullptr;
    Tree::Builder builder;
    std::optional<std::string> refusal;
    std::exception_ptr failure;

    // Handlers run inside C code: nothing may unwind through it, so failures stop the parser instead.
    template <class Body> void guarded(Body&& body) {
        try {
            body();
        } catch (...) {
            failure = std::current_exception();
            XML_StopParser(parser, XML_FALSE);
        }
    }

    void refuse(std::string reason) {
        refusal = std::move(reason);
        XML_StopParser(parser, XML_FALSE);
    }
};

void XMLCALL startElement(void* data, const XML_Char* name, const XML_Char** attributes) {
    auto& parse = *static_cast<Parse*>(data);
    if (parse.refusal || parse.failure)
        return;
    if (parse.builder.depth() >= maximumDepth) {
        parse.refuse("elements nested deeper than " + std::to_string(maximumDepth) + " levels");
        return;
    }
    parse.guarded([&] {
        std::map<std::string, std::string, std::less<>> map;
        for (const XML_Char** pair = attributes; pair[0] && pair[1]; pair += 2)
            map.emplace(pair[0], pair[1]);
        parse.builder.didStartElement(name, std::move(map));
    });
}

void XMLCALL endElement(void* data, const XML_Char*) {
    auto& parse = *static_cast<Parse*>(data);
    if (!parse.refusal && !parse.failure)
        parse.builder.didEndElement();
}

void XMLCALL characters(void* data, const XML_Char* text, int length) {
    auto& parse = *static_cast<Parse*>(data);
    if (parse.refusal || parse.failure)
        return;
    parse.guarded(
        [&] { parse.builder.foundCharacters(std::string_view(text, static_cast<std::size_t>(length))); });
}

std::string position(XML_Parser parser) {
    return "line " + std::to_string(XML_GetCurrentLineNumber(parser)) + ", column " +
           std::to_string(XML_GetCurrentColumnNumber(parser) + 1);
}

} // namespace

std::shared_ptr<const Tree> tree(std::string_view bytes) {
    // No namespace processing, so names keep their prefixes.
    std::unique_ptr<XML_ParserStruct, decltype(&XML_ParserFree)> parser(XML_ParserCreate(nullptr),
                                                                        &XML_ParserFree);
    if (!parser)
        throw std::bad_alloc();
    Parse parse;
    parse.parser = parser.get();
    XML_SetUserData(parser.get(), &parse);
    XML_SetElementHandler(parser.get(), startElement, endElement);
    // Text of CDATA sections arrives through the same handler and merges with the text around it.
    XML_SetCharacterDataHandler(parser.get(), characters);
    XML_SetParamEntityParsing(parser.get(), XML_PARAM_ENTITY_PARSING_NEVER);
    XML_SetBillionLaughsAttackProtectionActivationThreshold(parser.get(), expansionThreshold);
    XML_SetBillionLaughsAttackProtectionMaximumAmplification(parser.get(), maximumAmplification);

    std::size_t offset = 0;
    do {
        const std::size_t length = std::min(chunkSize, bytes.size() - offset);
        const bool last = offset + length == bytes.size();
        const auto status = XML_Parse(parser.get(), bytes.data() + offset, static_cast<int>(length),
                                      last ? XML_TRUE : XML_FALSE);
        if (parse.failure)
            std::rethrow_exception(parse.failure);
        if (parse.refusal)
            throw XmlError("XML document refused at " + position(parser.get()) + ": " + *parse.refusal);
        if (status != XML_STATUS_OK)
            throw XmlError("XML error at " + position(parser.get()) + ": " +
                           XML_ErrorString(XML_GetErrorCode(parser.get())));
        offset += length;
    } while (offset < bytes.size());
    return parse.builder.root();
}

} // namespace orvel::SoftwareFormats
