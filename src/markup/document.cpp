#include "markup/document.h"

namespace Tml {

Document::~Document() {
    for (Node* node : rootNodes) delete node;
}

std::vector<Node*> Document::GetRootNodes() const { return rootNodes; }

Node* Document::AddRootNode(std::string_view name) {
    rootNodes.push_back(new Node(std::string(name)));
    return rootNodes.back();
}

Node* Document::GetCurrentNode() const { return currentNode; }

void Document::PushNode(Node* node) {
    nodeStack.push_back(currentNode);
    currentNode = node;
}

void Document::PopNode() {
    // More "}" than "{" is tolerated: with nothing stacked there is nothing to return to.
    if (nodeStack.empty()) return;
    currentNode = nodeStack.back();
    nodeStack.pop_back();
}

}  // namespace Tml
