// GraphML: nodes by name, edges either way, scores and positions from their keys, and every
// fault (hostile ones among them: entities, deep nesting, huge lines) refused with one message.
#include "FileTestSupport.h"

namespace {

std::string graphml(const std::string& body, const std::string& keys = "")
{
    return "<?xml version='1.0' encoding='utf-8'?>\n<graphml xmlns='http://graphml.graphdrawing.org/xmlns'>\n" + keys + body + "</graphml>\n";
}
const std::string weightKey = "<key id='d0' for='edge' attr.name='weight' attr.type='double'/>\n";
const std::string placeKeys = "<key id='kx' for='node' attr.name='x' attr.type='double'/>\n<key id='ky' for='node' attr.name='y' attr.type='float'/>\n";

TEST(Graphml, GoodAndBadFiles)
{
    const std::string root = "<graphml xmlns='http://graphml.graphdrawing.org/xmlns'";
    const std::string longFirstLine = root + std::string(qcMaxLineBytes - root.size() - 1, ' ') + ">";
    const std::string deep = [] { std::string s; for (int i = 0; i < 10000; ++i) s += "<a>"; return s; }();
    const struct {
        const char* name;
        std::string content;
        const char* want;
    } cases[] = {
        {"undirected both ways", graphml("<graph edgedefault='undirected'><node id='r'/><node id='s'/>\n<edge source='r' target='s'><data key='d0'> 2.5 </data></edge></graph>\n", weightKey), "r s|0>1:2.5 1>0:2.5"},
        {"directed by edge, self-link once", graphml("<graph edgedefault='undirected'><node id='a'/><edge source='a' target='a' directed='false'/><edge source='a' target='b' directed='true'/></graph>"), "a b|0>0:1 0>1:1"},
        {"edges before nodes, parallel edges", graphml("<graph edgedefault='directed'><edge source='y' target='x'/><edge source='y' target='x'/><node id='x'/><node id='z'/></graph>"), "y x z|0>1:1 0>1:1"},
        {"positions and defaults", graphml("<graph><node id='p'><data key='kx'>3</data><data key='ky'>-4.5</data></node><node id='q'/><edge source='p' target='q'/></graph>",
                                           placeKeys + "<key id='w' for='edge' attr.name='weight' attr.type='long'><default>7</default></key>\n"), "p q|0>1:7|3,-4.5 0,0"},
        {"data outside a node", graphml("<graph><node id='p'><data key='kx'>3</data></node><data key='kx'>9</data><node id='q'/></graph>", placeKeys), "p q||3,0 0,0"},
        {"first line of 1 MiB, the next in the next block", longFirstLine + "\n<graph><node id='a'/></graph></graphml>\n", "a|"},
        {"unknown keys ignored", graphml("<graph><node id='n'><data key='label'>far &amp; away</data></node><edge source='n' target='n'><data key='label'>x</data><data key='nokey'>y</data></edge></graph>",
                                         "<key id='label' for='all' attr.name='name' attr.type='string'><default>none</default></key>"), "n|0>0:1"},
        {"prefixed names", "<g:graphml xmlns:g='http://graphml.graphdrawing.org/xmlns'><g:graph><g:node id='1'/></g:graph></g:graphml>", "1|"},
        {"entity bomb", "<?xml version='1.0'?>\n<!DOCTYPE g [<!ENTITY a 'aaaaaaaaaa'><!ENTITY b '&a;&a;&a;&a;&a;&a;&a;&a;'>]>\n<graphml>&b;</graphml>\n", ":2: DOCTYPE declarations are refused (their entities could expand without bound)"},
        {"undeclared entity", graphml("<graph><node id='&x;'/></graph>"), ":3: not well-formed XML: undefined entity"},
        {"deep nesting", graphml(deep), ":3: elements nested deeper than 64"},
        {"not XML", "a 1 2 3\n", ":1: not well-formed XML: syntax error"},
        {"truncated", graphml("<graph><node id='a'/>").substr(0, 120), ":3: not well-formed XML: unclosed token"},
        {"no graph", graphml(""), ": no <graph> element"},
        {"node without id", graphml("<graph>\n<node/></graph>"), ":4: <node> has no id attribute"},
        {"edge without target", graphml("<graph><edge source='a'/></graph>"), ":3: <edge> has no target attribute"},
        {"data without key", graphml("<graph><node id='a'><data>1</data></node></graph>"), ":3: <data> has no key attribute"},
        {"key without id", graphml("<graph/>", "<key for='node'/>"), ":3: <key> has no id attribute"},
        {"node twice", graphml("<graph><node id='a'/><node id='a'/></graph>"), ":3: second <node> of id 'a'"},
        {"score key of text", graphml("<graph/>", "<key id='d' for='edge' attr.name='weight' attr.type='string'/>"), ":3: key 'weight' is of type 'string', not a number"},
        {"score not a number", graphml("<graph><edge source='a' target='b'><data key='d0'>1\t2 3</data></edge></graph>", weightKey), ":4: data '1\\x092 3' is not a finite number"},
        {"score infinite", graphml("<graph><edge source='a' target='b'><data key='d0'>inf</data></edge></graph>", weightKey), ":4: data 'inf' is not a finite number"},
        {"bad default", graphml("<graph/>", "<key id='w' for='edge' attr.name='weight' attr.type='double'><default>x</default></key>"), ":3: <default> 'x' is not a finite number"},
        {"data too long", graphml("<graph><node id='a'><data key='kx'>" + std::string(5000, '1') + "</data></node></graph>", placeKeys), ":5: data longer than 4096 bytes"},
        {"hyperedge", graphml("<graph><hyperedge/></graph>"), ":3: hyperedges are not read"},
        {"nested graph", graphml("<graph><node id='a'><graph/></node></graph>"), ":3: nested graphs are not read"},
        {"second graph", graphml("<graph/><graph/>"), ":3: a second <graph> (one graph a file is read)"},
        {"bad edgedefault", graphml("<graph edgedefault='both'/>"), ":3: edgedefault 'both' is neither 'directed' nor 'undirected'"},
        {"bad directed", graphml("<graph><edge source='a' target='b' directed='yes'/></graph>"), ":3: directed 'yes' is neither 'true' nor 'false'"},
        {"line over 1 MiB", graphml("<graph>\n<!--" + std::string(qcMaxLineBytes, ' ') + "--></graph>"), ":4: line longer than 1 MiB (not a text file?)"},
    };
    qcGraphReadOptions options;
    options.format = qcGraphFormat::graphml;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(qctest::readBack(qctest::scratchFile(c.content), options), c.want);
    }
    options.weight = "cost";
    EXPECT_EQ(qctest::readBack(qctest::scratchFile(graphml("<graph><edge source='a' target='b'><data key='c'>2</data><data key='d0'>3</data></edge></graph>",
                                                           weightKey + "<key id='c' for='edge' attr.name='cost' attr.type='int'/>")), options), "a b|0>1:2");
    options.maxNodes = 2;
    EXPECT_EQ(qctest::readBack(qctest::scratchFile(graphml("<graph><node id='a'/><edge source='b' target='c'/></graph>")), options),
              ":3: needs 3 nodes, more than the 2 allowed for a file of its size (a higher maxNodes allows more)");
}

}  // namespace
