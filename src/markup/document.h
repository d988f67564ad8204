// A parsed tml document: the top-level nodes plus the cursor the reader builds it with (the open
// node and the stack of nodes opened before it). Owned by whoever called the reader; it owns every
// node. Built on one thread, read-only afterwards.
#pragma once

#include "markup/node.h"

#include <string>
#include <string_view>
#include <vector>

namespace Tml {

class Document {
public:
    Document() = default;
    ~Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    std::vector<Node*> GetRootNodes() const;  // copy of the top-level list, in order
    const std::vector<Node*>& RootNodes() const { return rootNodes; }
    Node* AddRootNode(std::string_view name);  // new empty top-level node, appended
    Node* GetCurrentNode() const;              // the open node, or null at top level
    void PushNode(Node* node);                 // stack the open node, make `node` current
    void PopNode();                            // back to the node open before; no-op when empty
    size_t GetStackDepth() const { return nodeStack.size(); }

private:
    std::vector<Node*> rootNodes;
    Node* currentNode = nullptr;
    std::vector<Node*> nodeStack;
};

}  // namespace Tml
