#include "markup/node.h"

#include <utility>

namespace Tml {

Node::Node(std::string nodeName) : name(std::move(nodeName)) {}

Node::~Node() {
    // A document of 100 000 nested "{" is legal, so the subtree is freed with an explicit work list
    // rather than by recursive destructors that would exhaust the stack.
    std::vector<Node*> pending = std::move(childNodes);
    childNodes.clear();
    while (!pending.empty()) {
        Node* node = pending.back();
        pending.pop_back();
        pending.insert(pending.end(), node->childNodes.begin(), node->childNodes.end());
        node->childNodes.clear();
        delete node;
    }
}

std::string Node::GetName() const { return name; }
std::vector<Attribute> Node::GetAttributes() const { return attributes; }
std::vector<Node*> Node::GetChildNodes() const { return childNodes; }

Node* Node::AddChildNode(const std::string& childName) {
    childNodes.push_back(new Node(childName));
    return childNodes.back();
}

void Node::PushAttribute(const Attribute& attribute) { attributes.push_back(attribute); }

}  // namespace Tml
