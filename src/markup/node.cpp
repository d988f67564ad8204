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

Node* Node::AddChildNode(std::string_view childName) {
    childNodes.push_back(new Node(std::string(childName)));
    return childNodes.back();
}

namespace {

// Nodes mostly hold a handful of attributes: room for them at the first saves the reallocations
// of growing one by one.
constexpr size_t UsualAttributeCount = 4;

}  // namespace

void Node::PushAttribute(const Attribute& attribute) {
    if (attributes.empty()) attributes.reserve(UsualAttributeCount);
    attributes.push_back(attribute);
}

void Node::AddAttribute(std::string_view key, std::string_view value, int line) {
    if (attributes.empty()) attributes.reserve(UsualAttributeCount);
    Attribute& added = attributes.emplace_back();
    added.key.assign(key.data(), key.size());
    added.value.assign(value.data(), value.size());
    added.line = line;
}

void Node::PushAttribute(Attribute&& attribute) {
    if (attributes.empty()) attributes.reserve(UsualAttributeCount);
    attributes.push_back(std::move(attribute));
}

}  // namespace Tml
