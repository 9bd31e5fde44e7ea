// GraphML read with expat, in one pass: nodes in the order the file first names them (a node an
// edge names before its <node> element is made then), edges in file order.
#include <charconv>
#include <cmath>
#include <cstring>
#include <exception>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include <expat.h>

#include "FileFormats.h"
#include "LineFields.h"
#include "LinkBatch.h"

namespace {

// Elements nest four deep in GraphML (graphml, graph, node, data); anything far deeper is no
// graph, and the bound keeps a file of nested elements from growing the parser's stack.
constexpr int maxDepth = 64;
// The text of one <data> or <default> element; a number is never longer.
constexpr std::size_t maxDataBytes = 4096;
constexpr std::size_t blockBytes = std::size_t(1) << 20;

enum class Role { none, score, x, y };

class GraphmlReader {
public:
    GraphmlReader(InputBytes& in, const qcGraphReadOptions& options)
        : mIn(in), mOptions(options), mNodeLimit(nodeBound(in.size(), options)),
          mParser(XML_ParserCreate(nullptr))
    {
        if (!mParser)
            throw std::bad_alloc();
        XML_SetUserData(mParser.get(), this);
        XML_SetElementHandler(mParser.get(), &GraphmlReader::onStart, &GraphmlReader::onEnd);
        XML_SetCharacterDataHandler(mParser.get(), &GraphmlReader::onText);
        // Entities could expand a few bytes into gigabytes: a file that declares any is refused.
        XML_SetStartDoctypeDeclHandler(mParser.get(), &GraphmlReader::onDoctype);
        XML_SetEntityDeclHandler(mParser.get(), &GraphmlReader::onEntity);
        XML_SetParamEntityParsing(mParser.get(), XML_PARAM_ENTITY_PARSING_NEVER);
    }

    qcGraphFile read()
    {
        std::unique_ptr<char[]> block(new char[blockBytes]);
        std::size_t lineBytes = 0;  // since the last line end
        for (;;) {
            const std::size_t got = mIn.read(block.get(), blockBytes);
            checkLineLengths(block.get(), got, lineBytes);
            if (XML_Parse(mParser.get(), block.get(), static_cast<int>(got), got == 0) != XML_STATUS_OK)
                failParse();
            mProgress.bytesRead += got;
            if (mOptions.progress) {
                mProgress.bytesTotal = mIn.size();
                mProgress.lines = XML_GetCurrentLineNumber(mParser.get());
                mOptions.progress(mProgress);
            }
            if (got == 0)
                break;
        }
        mLinks.flush();
        if (!mSawGraph)
            throw qcGraphFileError(mIn.name(), 0, "no <graph> element");
        mFile.lines = XML_GetCurrentLineNumber(mParser.get());
        return std::move(mFile);
    }

private:
    struct Key {
        Role role = Role::none;
        double fallback = 0.0;  // the key's <default>
    };
    struct ParserFree {
        void operator()(XML_Parser p) const { XML_ParserFree(p); }
    };

    void checkLineLengths(const char* data, std::size_t size, std::size_t& lineBytes) const
    {
        const char* end = data + size;
        for (const char* p = data; p < end;) {
            const char* newline = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
            const std::size_t run = static_cast<std::size_t>((newline ? newline : end) - p);
            if (lineBytes + run > qcMaxLineBytes)
                throw qcGraphFileError(mIn.name(), lineNumberAt(data, p), "line longer than 1 MiB (not a text file?)");
            lineBytes = newline ? 0 : lineBytes + run;
            p = newline ? newline + 1 : end;
        }
    }
    // Parsing has not reached `p` yet; its line is the parser's line plus the line ends before it.
    std::uint64_t lineNumberAt(const char* data, const char* p) const
    {
        std::uint64_t line = XML_GetCurrentLineNumber(mParser.get());
        for (const char* q = data; q < p; ++q)
            line += *q == '\n';
        return line;
    }

    [[noreturn]] void failParse()
    {
        if (mError)
            std::rethrow_exception(mError);
        fail(std::string("not well-formed XML: ") + XML_ErrorString(XML_GetErrorCode(mParser.get())));
    }
    [[noreturn]] void fail(const std::string& what) const
    {
        throw qcGraphFileError(mIn.name(), XML_GetCurrentLineNumber(mParser.get()), what);
    }

    // The handlers are called from C, so nothing may be thrown through them: a fault stops the
    // parser and is thrown once XML_Parse returns.
    template <class Body>
    static void guarded(void* self, Body&& body)
    {
        auto* reader = static_cast<GraphmlReader*>(self);
        if (reader->mError)
            return;
        try {
            body(*reader);
        } catch (...) {
            reader->mError = std::current_exception();
            XML_StopParser(reader->mParser.get(), XML_FALSE);
        }
    }
    static void onStart(void* self, const XML_Char* name, const XML_Char** attributes)
    {
        guarded(self, [&](GraphmlReader& r) { r.start(localName(name), attributes); });
    }
    static void onEnd(void* self, const XML_Char* name)
    {
        guarded(self, [&](GraphmlReader& r) { r.end(localName(name)); });
    }
    static void onText(void* self, const XML_Char* text, int length)
    {
        guarded(self, [&](GraphmlReader& r) { r.text(text, static_cast<std::size_t>(length)); });
    }
    static void onDoctype(void* self, const XML_Char*, const XML_Char*, const XML_Char*, int)
    {
        guarded(self, [](GraphmlReader& r) { r.fail("DOCTYPE declarations are refused (their entities could expand without bound)"); });
    }
    static void onEntity(void* self, const XML_Char*, int, const XML_Char*, int, const XML_Char*,
                         const XML_Char*, const XML_Char*, const XML_Char*)
    {
        guarded(self, [](GraphmlReader& r) { r.fail("entity declarations are refused"); });
    }

    static std::string_view localName(const char* name)
    {
        const char* colon = std::strrchr(name, ':');
        return colon ? colon + 1 : name;
    }
    static const char* attribute(const XML_Char** attributes, const char* name)
    {
        for (int i = 0; attributes[i] != nullptr; i += 2)
            if (std::strcmp(attributes[i], name) == 0)
                return attributes[i + 1];
        return nullptr;
    }
    const char* required(const XML_Char** attributes, const char* name, const char* element) const
    {
        const char* value = attribute(attributes, name);
        if (value == nullptr)
            fail(std::string("<") + element + "> has no " + name + " attribute");
        return value;
    }

    void start(std::string_view name, const XML_Char** attributes)
    {
        if (++mDepth > maxDepth)
            fail("elements nested deeper than " + std::to_string(maxDepth));
        mText.clear();
        if (name == "key")
            startKey(attributes);
        else if (name == "graph")
            startGraph(attributes);
        else if (name == "node" && mInGraph)
            startNode(attributes);
        else if (name == "edge" && mInGraph)
            startEdge(attributes);
        else if (name == "hyperedge")
            fail("hyperedges are not read");
        mCollect = name == "data" ? dataRole(attributes) : name == "default" && mKey != nullptr && mKey->role != Role::none;
        mDataRole = name == "data" ? mDataRole : Role::none;
    }

    void end(std::string_view name)
    {
        --mDepth;
        if (name == "data" && mCollect)
            setData(number("data"));
        else if (name == "default" && mCollect)
            mKey->fallback = number("<default>");
        else if (name == "key")
            mKey = nullptr;
        else if (name == "node")
            mNode = -1;
        else if (name == "edge" && mEdgeFrom >= 0)
            endEdge();
        else if (name == "graph")
            mInGraph = false;
        mCollect = false;
    }

    void text(const char* data, std::size_t length)
    {
        if (!mCollect)
            return;
        if (mText.size() + length > maxDataBytes)
            fail("data longer than " + std::to_string(maxDataBytes) + " bytes");
        mText.append(data, length);
    }

    void startKey(const XML_Char** attributes)
    {
        const std::string id = required(attributes, "id", "key");
        const char* forWhat = attribute(attributes, "for");
        const char* attrName = attribute(attributes, "attr.name");
        const std::string on = forWhat ? forWhat : "all";
        const std::string named = attrName ? attrName : "";
        Key key;
        if ((on == "edge" || on == "all") && named == mOptions.weight)
            key.role = Role::score;
        else if ((on == "node" || on == "all") && (named == "x" || named == "y"))
            key.role = named == "x" ? Role::x : Role::y;
        if (key.role != Role::none) {
            const char* type = attribute(attributes, "attr.type");
            const std::string t = type ? type : "string";
            if (t != "double" && t != "float" && t != "int" && t != "long")
                fail("key " + quoted(named) + " is of type " + quoted(t) + ", not a number");
        }
        key.fallback = key.role == Role::score ? 1.0 : 0.0;
        mKey = &(mKeys[id] = key);
    }

    void startGraph(const XML_Char** attributes)
    {
        if (mSawGraph)
            fail(mInGraph ? "nested graphs are not read" : "a second <graph> (one graph a file is read)");
        mSawGraph = mInGraph = true;
        const char* edges = attribute(attributes, "edgedefault");
        const std::string kind = edges ? edges : "directed";
        if (kind != "directed" && kind != "undirected")
            fail("edgedefault " + quoted(kind) + " is neither 'directed' nor 'undirected'");
        mDirectedByDefault = kind == "directed";
    }

    std::int32_t nodeNamed(const char* id)
    {
        const auto [at, added] = mNodes.try_emplace(id, static_cast<std::int32_t>(mFile.graph.numNodes()));
        if (added) {
            if (mFile.graph.numNodes() >= mNodeLimit.most)
                fail(tooManyNodes(mFile.graph.numNodes() + 1, mNodeLimit));
            qcDirectedGraphNode node;  // at the keys' defaults until its own data say otherwise
            node.position(qcVector<2>(fallback(Role::x), fallback(Role::y)));
            mFile.graph.addNode(node);
            mFile.ids.names.push_back(id);
        }
        return at->second;
    }

    void startNode(const XML_Char** attributes)
    {
        const char* id = required(attributes, "id", "node");
        mNode = nodeNamed(id);
        if (mDeclared.size() <= static_cast<std::size_t>(mNode))
            mDeclared.resize(static_cast<std::size_t>(mNode) + 1, false);
        if (mDeclared[static_cast<std::size_t>(mNode)])
            fail("second <node> of id " + quoted(id));
        mDeclared[static_cast<std::size_t>(mNode)] = true;
    }

    void startEdge(const XML_Char** attributes)
    {
        mEdgeFrom = nodeNamed(required(attributes, "source", "edge"));
        mEdgeTo = nodeNamed(required(attributes, "target", "edge"));
        const char* directed = attribute(attributes, "directed");
        if (directed != nullptr && std::strcmp(directed, "true") != 0 && std::strcmp(directed, "false") != 0)
            fail(std::string("directed ") + quoted(directed) + " is neither 'true' nor 'false'");
        mEdgeDirected = directed ? std::strcmp(directed, "true") == 0 : mDirectedByDefault;
        mEdgeScore = fallback(Role::score);
    }

    void endEdge()
    {
        mLinks.add(mEdgeFrom, mEdgeTo, mEdgeScore);
        if (!mEdgeDirected && mEdgeFrom != mEdgeTo)
            mLinks.add(mEdgeTo, mEdgeFrom, mEdgeScore);
        mEdgeFrom = -1;
    }

    double fallback(Role role) const
    {
        for (const auto& [id, key] : mKeys)
            if (key.role == role)
                return key.fallback;
        return role == Role::score ? 1.0 : 0.0;
    }

    // Whether the <data> element's text is wanted: a number key of the node or edge it stands in.
    bool dataRole(const XML_Char** attributes)
    {
        const auto key = mKeys.find(required(attributes, "key", "data"));
        mDataRole = key == mKeys.end() ? Role::none : key->second.role;
        const bool onNode = mNode >= 0 && (mDataRole == Role::x || mDataRole == Role::y);
        const bool onEdge = mEdgeFrom >= 0 && mDataRole == Role::score;
        return onNode || onEdge;
    }

    double number(const char* what) const
    {
        std::size_t first = 0, last = mText.size();
        while (first < last && std::strchr(" \t\r\n", mText[first]))
            ++first;
        while (last > first && std::strchr(" \t\r\n", mText[last - 1]))
            --last;
        const std::string_view field(mText.data() + first, last - first);
        double value = 0.0;
        const auto [ptr, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
        if (ec != std::errc() || ptr != field.data() + field.size() || !std::isfinite(value))
            fail(std::string(what) + " " + quoted(field) + " is not a finite number");
        return value;
    }

    void setData(double value)
    {
        if (mDataRole == Role::score) {
            mEdgeScore = value;
            return;
        }
        qcDirectedGraphNode node = mFile.graph.node(mNode);
        const qcVector<2>& p = node.position();
        node.position(mDataRole == Role::x ? qcVector<2>(value, p.y()) : qcVector<2>(p.x(), value));
        mFile.graph.node(mNode, node);
        mFile.hasPositions = true;
    }

    InputBytes& mIn;
    const qcGraphReadOptions& mOptions;
    const NodeBound mNodeLimit;
    std::unique_ptr<XML_ParserStruct, ParserFree> mParser;
    std::exception_ptr mError;
    qcGraphFile mFile;
    LinkBatch mLinks{mFile.graph};
    qcReadProgress mProgress;
    std::unordered_map<std::string, Key> mKeys;
    std::unordered_map<std::string, std::int32_t> mNodes;
    std::vector<bool> mDeclared;
    Key* mKey = nullptr;  // the <key> being read
    int mDepth = 0;
    bool mSawGraph = false, mInGraph = false, mDirectedByDefault = true;
    std::int32_t mNode = -1;  // the <node> being read
    std::int32_t mEdgeFrom = -1, mEdgeTo = -1;  // the <edge> being read
    bool mEdgeDirected = true;
    double mEdgeScore = 1.0;
    bool mCollect = false;
    Role mDataRole = Role::none;
    std::string mText;
};

}  // namespace

qcGraphFile readGraphml(InputBytes& in, const qcGraphReadOptions& options)
{
    return GraphmlReader(in, options).read();
}
