// The XML engine against pugixml: parse, parse + walk, build + write, and one
// edit in the middle of a loaded document.
#include "bench_cases.h"

#include "platform/file_io.h"
#include "xml_document.h"

#include <pugixml.hpp>

#include <array>
#include <cstring>
#include <memory>

namespace bench {
namespace {

std::shared_ptr<std::string> ReadOrFail(const std::string& path, Prepared& p) {
    auto data = std::make_shared<std::string>();
    std::string error;
    if (!platform::ReadWholeFile(path, *data, error)) {
        p.ok = false;
        p.error = path + ": " + error;
    }
    return data;
}

Case ParseCase(const char* name, const char* file, const char* reference) {
    return {name, reference, [file](const Options& o) {
        Prepared p;
        auto data = ReadOrFail(FileIn(o, file), p);
        auto doc = std::make_shared<CXmlDocument>();
        auto wellFormed = std::make_shared<bool>(false);
        p.work = [=] { *wellFormed = doc->SetText(std::string_view(*data)); };
        p.check = [=] { return std::string(*wellFormed ? "well-formed" : "NOT WELL-FORMED"); };
        return p;
    }};
}

// The collection as plain data, for building the same document with pugixml.
struct Category {
    std::string name;
    std::vector<std::array<std::string, 3>> bookmarks;
    std::vector<Category> children;
};

void Collect(pugi::xml_node node, std::vector<Category>& out) {
    for (pugi::xml_node g : node.children("G")) {
        Category c;
        c.name = g.attribute("t").value();
        for (pugi::xml_node a : g.children("a"))
            c.bookmarks.push_back({a.attribute("t").value(), a.attribute("u").value(), a.attribute("r").value()});
        Collect(g, c.children);
        out.push_back(std::move(c));
    }
}

void Build(pugi::xml_node parent, const std::vector<Category>& categories) {
    for (const Category& c : categories) {
        pugi::xml_node g = parent.append_child("G");
        g.append_attribute("t") = c.name.c_str();
        for (const auto& b : c.bookmarks) {
            pugi::xml_node a = g.append_child("a");
            a.append_attribute("t") = b[0].c_str();
            a.append_attribute("u") = b[1].c_str();
            a.append_attribute("r") = b[2].c_str();
        }
        Build(g, c.children);
    }
}

// The same document built the way the program's writers use the engine:
// add an element, set its attributes, step in for the children.
void BuildWithEngine(CXmlDocument& doc, const std::vector<Category>& categories) {
    for (const Category& c : categories) {
        doc.AddElement("G");
        doc.SetAttribute("t", c.name);
        doc.EnterElement();
        for (const auto& b : c.bookmarks) {
            doc.AddElement("a");
            doc.SetAttribute("t", b[0]);
            doc.SetAttribute("u", b[1]);
            doc.SetAttribute("r", b[2]);
        }
        doc.LeaveElement();
        if (!c.children.empty()) {
            doc.EnterElement();
            BuildWithEngine(doc, c.children);
            doc.LeaveElement();
        }
    }
}

std::shared_ptr<std::vector<Category>> CategoriesOf(const std::string& path, Prepared& p) {
    auto categories = std::make_shared<std::vector<Category>>();
    pugi::xml_document source;
    if (!source.load_file(path.c_str())) {
        p.ok = false;
        p.error = "pugixml could not parse " + path;
    } else {
        Collect(source.child("root"), *categories);
    }
    return categories;
}

Case EngineBuildCase(const char* name, const char* file, const char* reference) {
    return {name, reference, [file](const Options& o) {
        Prepared p;
        auto categories = CategoriesOf(FileIn(o, file), p);
        auto size = std::make_shared<std::size_t>(0);
        p.work = [=] {
            CXmlDocument doc;
            doc.SetText(std::string_view("<?xml version=\"1.0\" encoding=\"utf-8\"?>"));
            doc.AddElement("root");
            doc.EnterElement();
            BuildWithEngine(doc, *categories);
            *size = doc.Text().size();
        };
        p.check = [=] { return std::to_string(*size) + " bytes built"; };
        return p;
    }};
}

}  // namespace

void AddXmlCases(std::vector<Case>& cases) {
    cases.push_back({"pugi.parse", nullptr, [](const Options& o) {
        Prepared p;
        auto data = ReadOrFail(FileIn(o, "bm.xml"), p);
        auto doc = std::make_shared<pugi::xml_document>();
        p.work = [=] { doc->load_buffer(data->data(), data->size()); };
        return p;
    }});
    cases.push_back(ParseCase("xml.parse", "bm.xml", "pugi.parse"));
    cases.push_back(ParseCase("xml.parse.half", "bm_half.xml", nullptr));

    cases.push_back({"pugi.load_walk", nullptr, [](const Options& o) {
        Prepared p;
        std::string path = FileIn(o, "bm.xml");
        auto total = std::make_shared<std::size_t>(0);
        p.work = [=] {
            pugi::xml_document doc;
            doc.load_file(path.c_str());
            std::size_t sum = 0;
            // Every element's attributes, without recursion.
            pugi::xml_node node = doc.first_child();
            while (node) {
                for (pugi::xml_attribute a : node.attributes()) sum += std::strlen(a.value());
                if (node.first_child()) node = node.first_child();
                else {
                    while (node && !node.next_sibling()) node = node.parent();
                    if (node) node = node.next_sibling();
                }
            }
            *total = sum;
        };
        p.check = [=] { return std::to_string(*total) + " attribute bytes"; };
        return p;
    }});

    cases.push_back({"pugi.build_save", nullptr, [](const Options& o) {
        Prepared p;
        auto categories = CategoriesOf(FileIn(o, "bm.xml"), p);
        std::string out = FileIn(o, "pugi_out.xml");
        p.work = [=] {
            pugi::xml_document doc;
            pugi::xml_node decl = doc.append_child(pugi::node_declaration);
            decl.append_attribute("version") = "1.0";
            decl.append_attribute("encoding") = "utf-8";
            Build(doc.append_child("root"), *categories);
            doc.save_file(out.c_str(), "", pugi::format_raw | pugi::format_no_declaration);
        };
        return p;
    }});

    cases.push_back(EngineBuildCase("xml.build_append", "bm.xml", "pugi.build_save"));
    cases.push_back(EngineBuildCase("xml.build_append.half", "bm_half.xml", nullptr));

    cases.push_back({"xml.set_attribute_middle", nullptr, [](const Options& o) {
        Prepared p;
        auto data = ReadOrFail(FileIn(o, "bm.xml"), p);
        auto doc = std::make_shared<CXmlDocument>();
        p.setup = [=] {
            doc->SetText(std::string_view(*data));
            // Pre-order walk to the bookmark in the middle of the file.
            std::size_t seen = 0;
            for (;;) {
                if (!doc->FindElement()) {
                    if (!doc->LeaveElement()) break;
                    continue;
                }
                if (doc->ElementName() == "a" && ++seen == 50000) return;
                doc->EnterElement();
            }
        };
        p.work = [=] { doc->SetAttribute("t", "changed in the middle"); };
        p.check = [=] { return doc->GetAttribute("t") == "changed in the middle" ? "" : std::string("EDIT LOST"); };
        return p;
    }});
}

}  // namespace bench
