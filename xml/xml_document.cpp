// CXmlDocument: text, files, the cursor and reading.
#include "xml_document.h"

#include "platform/file_io.h"
#include "xml_impl.h"
#include "xml_scan.h"

#include <algorithm>
#include <cstdint>
#include <new>

using namespace xmlscan;

void CXmlDocument::Impl::Fail(const char* message) {
    parent = current = child = 0;
    wellFormed = false;
    elements.Reset(0);
    elements[0].length = static_cast<std::uint32_t>(text.Size() > kMaxTextLength ? 0 : text.Size());
    result = message;
}

std::string_view CXmlDocument::Impl::NameOf(std::uint32_t pos) const {
    if (pos == 0) return {};
    TagView tag = Tag(pos);
    const char* end = tag.end;
    const char* p = SkipSpace(tag.begin + 1, end);
    return {p, static_cast<std::size_t>(ScanName(Classes(), p, end) - p)};
}

std::uint32_t CXmlDocument::Impl::FindSibling(std::uint32_t from, std::string_view name) const {
    for (std::uint32_t n = from; n; n = elements[n].nextSibling)
        if (name.empty() || NameMatches(NameOf(n), name)) return n;
    return 0;
}

bool CXmlDocument::Impl::Replace(std::size_t offset, std::size_t removed, std::string_view inserted) {
    if (text.Size() - removed + inserted.size() > kMaxTextLength) return false;
    text.Replace(offset, removed, inserted);
    return true;
}

CXmlDocument::CXmlDocument() : impl_(new Impl) { impl_->elements.Reset(0); }

CXmlDocument::~CXmlDocument() { delete impl_; }

bool CXmlDocument::SetText(std::string_view text) {
    try {
        return SetText(std::string(text));
    } catch (const std::bad_alloc&) {
        impl_->text.Clear();
        impl_->Fail("Out of memory");
        return false;
    }
}

bool CXmlDocument::SetText(const char* text) { return SetText(std::string_view(text ? text : "")); }

bool CXmlDocument::SetText(std::string&& text) {
    impl_->text.Assign(std::move(text));
    impl_->result.clear();
    try {
        impl_->Parse();
    } catch (const std::bad_alloc&) {
        impl_->Fail("Out of memory");
    }
    return impl_->wellFormed;
}

bool CXmlDocument::LoadFile(const std::string& path) {
    std::string data, error;
    bool read = false;
    try {
        read = platform::ReadWholeFile(path, data, error);
    } catch (const std::bad_alloc&) {
        error = "Out of memory";
    }
    if (!read) {
        impl_->text.Clear();
        impl_->Fail("");
        impl_->result = error;
        return false;
    }
    std::size_t size = data.size();
    bool wellFormed = SetText(std::move(data));
    std::string message = std::move(impl_->result);
    impl_->result = std::to_string(size) + " bytes";
    if (!message.empty()) impl_->result += ", " + message;
    return wellFormed;
}

bool CXmlDocument::SaveFile(const std::string& path) { return SaveFile(path, platform::SystemFileOps()); }

bool CXmlDocument::SaveFile(const std::string& path, platform::FileOps& ops) {
    std::string error;
    if (platform::ReplaceFileContents(path, impl_->text.Flat(), error, ops)) return true;
    impl_->result = error;
    return false;
}

void CXmlDocument::ResetCursor() { impl_->parent = impl_->current = impl_->child = 0; }

bool CXmlDocument::FindElement(std::string_view name) {
    Impl& d = *impl_;
    std::uint32_t from = d.current ? d.elements[d.current].nextSibling : d.elements[d.parent].firstChild;
    std::uint32_t found = d.FindSibling(from, name);
    if (!found) return false;
    d.current = found;
    d.child = 0;
    return true;
}

bool CXmlDocument::FindChildElement(std::string_view name) {
    Impl& d = *impl_;
    if (!d.current && !FindElement()) return false;
    std::uint32_t from = d.child ? d.elements[d.child].nextSibling : d.elements[d.current].firstChild;
    std::uint32_t found = d.FindSibling(from, name);
    if (!found) return false;
    d.child = found;
    return true;
}

bool CXmlDocument::EnterElement() {
    Impl& d = *impl_;
    if (!d.current) return false;
    d.parent = d.current;
    d.current = d.child;
    d.child = 0;
    return true;
}

bool CXmlDocument::LeaveElement() {
    Impl& d = *impl_;
    if (!d.parent) return false;
    d.child = d.current;
    d.current = d.parent;
    d.parent = d.elements[d.parent].parentPos;
    return true;
}

std::string CXmlDocument::ElementName() const { return std::string(ElementNameView()); }

std::string_view CXmlDocument::ElementNameView() const { return impl_->NameOf(impl_->current); }

std::string_view CXmlDocument::StartTagView() const {
    if (!impl_->current) return {};
    Impl::TagView tag = impl_->Tag(impl_->current);
    return {tag.begin, static_cast<std::size_t>(tag.end - tag.begin)};
}

std::string CXmlDocument::GetAttribute(std::string_view name) const {
    std::string value;
    GetAttribute(name, value);
    return value;
}

bool CXmlDocument::GetAttribute(std::string_view name, std::string& out) const {
    const Impl& d = *impl_;
    out.clear();
    if (!d.current) return false;
    Impl::TagView tag = d.Tag(d.current);
    AttributeSpan span = FindAttribute(Classes(), tag.begin, tag.end, name);
    if (!span.found) return false;
    AppendDecoded(span.innerBegin, span.innerEnd, out);
    return true;
}

std::size_t CXmlDocument::GetAttributes(std::span<const std::string_view> names,
                                        std::span<std::string* const> values) const {
    const Impl& d = *impl_;
    const std::size_t count = std::min({names.size(), values.size(), kMaxAttributesAtOnce});
    for (std::size_t i = 0; i < count; ++i) values[i]->clear();
    if (!d.current || count == 0) return 0;
    // A name may match several attributes; the first one counts, as for
    // GetAttribute.
    std::uint64_t pending = count == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << count) - 1;
    std::size_t found = 0;
    Impl::TagView tag = d.Tag(d.current);
    ScanAttributes(Classes(), tag.begin, tag.end, [&](std::string_view token, const AttributeSpan& span) {
        for (std::size_t i = 0; i < count; ++i) {
            if (!(pending & (std::uint64_t{1} << i)) || !NameMatches(token, names[i])) continue;
            pending &= ~(std::uint64_t{1} << i);
            AppendDecoded(span.innerBegin, span.innerEnd, *values[i]);
            ++found;
        }
        return pending != 0;
    });
    return found;
}

std::string CXmlDocument::ElementText() const {
    const Impl& d = *impl_;
    if (!d.current) return {};
    const XmlElementPos& r = d.elements[d.current];
    if (!r.endTagLength) return {};
    std::size_t begin = std::size_t{r.start} + r.startTagLength;
    std::size_t size = d.elements.Length(d.current) - r.startTagLength - r.endTagLength;
    return std::string(d.text.Range(begin, begin + size), size);
}

std::string CXmlDocument::DecodeText(std::string_view raw) {
    std::string out;
    AppendDecoded(raw.data(), raw.data() + raw.size(), out);
    return out;
}

const std::string& CXmlDocument::ResultText() const { return impl_->result; }

const std::string& CXmlDocument::Text() const { return impl_->text.Flat(); }

char* CXmlDocument::WritableText() { return impl_->text.FlatData(); }

std::string CXmlDocument::TakeText() {
    std::string taken = impl_->text.Take();
    impl_->result.clear();
    try {
        impl_->Parse();
    } catch (const std::bad_alloc&) {
        // The index could not be set up again: the document holds nothing.
        impl_->parent = impl_->current = impl_->child = 0;
        impl_->wellFormed = false;
    }
    return taken;
}

bool CXmlDocument::IsWellFormed() const { return impl_->wellFormed; }

std::size_t CXmlDocument::ElementCount() const { return impl_->elements.Count() - 1; }
