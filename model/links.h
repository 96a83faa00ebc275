#pragma once

namespace permora::links {

// The doubly linked lists of the model (entries in an AceList, targets in a template) are
// chained through Next and Prev; these keep Head and Tail right on both ends.

template <class Node> void Append(Node* node, Node*& head, Node*& tail) {
    node->Next = nullptr;
    node->Prev = tail;
    if (tail != nullptr) {
        tail->Next = node;
    } else {
        head = node;
    }
    tail = node;
}

// Links node in before next; a null next appends it.
template <class Node> void InsertBefore(Node* node, Node* next, Node*& head, Node*& tail) {
    if (next == nullptr) {
        Append(node, head, tail);
        return;
    }
    node->Next = next;
    node->Prev = next->Prev;
    if (next->Prev != nullptr) {
        next->Prev->Next = node;
    } else {
        head = node;
    }
    next->Prev = node;
}

template <class Node> void Unlink(Node* node, Node*& head, Node*& tail) {
    if (node->Prev != nullptr) {
        node->Prev->Next = node->Next;
    } else {
        head = node->Next;
    }
    if (node->Next != nullptr) {
        node->Next->Prev = node->Prev;
    } else {
        tail = node->Prev;
    }
    node->Next = nullptr;
    node->Prev = nullptr;
}

} // namespace permora::links
