// A node of a tml document: a name, its key/value attributes and its child nodes, all in document
// order. Nodes belong to their document (a node owns its children); queries hand out copies.
// Built by the reader on one thread; read-only afterwards and then safe to read from any thread.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace Tml {

// One key/value pair; values stay text, the reader never converts them.
struct Attribute {
    std::string key;
    std::string value;
    int line = 0;  // 1-based line of the statement in its file (0 when built by hand); for tools
};

class Node {
public:
    explicit Node(std::string name);
    ~Node();  // deletes the whole subtree without recursing, however deep it is
    Node(const Node&) = delete;
    Node& operator=(const Node&) = delete;

    std::string GetName() const;                     // copy of the name (may be empty)
    std::vector<Attribute> GetAttributes() const;    // copy of the attributes, in order
    std::vector<Node*> GetChildNodes() const;        // copy of the child list, in order
    Node* AddChildNode(std::string_view name);       // new empty child appended and returned
    void PushAttribute(const Attribute& attribute);  // appends a copy
    void PushAttribute(Attribute&& attribute);       // appends it, taking its strings
    // Appends the attribute (key, value, line), built in place.
    void AddAttribute(std::string_view key, std::string_view value, int line);

    // The same lists without copying, for readers that only look.
    const std::string& Name() const { return name; }
    const std::vector<Attribute>& Attributes() const { return attributes; }
    const std::vector<Node*>& Children() const { return childNodes; }
    // 1-based line of the "{" that opened the node (0 when built by hand); for diagnostics.
    int Line() const { return line; }
    void SetLine(int number) { line = number; }

private:
    std::string name;
    std::vector<Attribute> attributes;
    std::vector<Node*> childNodes;
    int line = 0;
};

}  // namespace Tml
