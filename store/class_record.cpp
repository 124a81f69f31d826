#include "class_record.h"

ClassRecord::~ClassRecord() {
    for (BookmarkRecord* bookmark : bookmarks) delete bookmark;
}

ClassRecord* NextInPreOrder(const ClassRecord* node, const ClassRecord* top) {
    if (!node) return nullptr;
    if (node->FirstChild()) return node->FirstChild();
    while (node && node != top) {
        if (node->NextSibling()) return node->NextSibling();
        node = node->Parent();
    }
    return nullptr;
}
