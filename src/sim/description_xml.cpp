#include "sim/description_xml.h"

#include <cstdio>

#include "sim/register_map.h"

namespace vk::sim {
namespace {

std::string Hex(std::uint64_t v) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(v));
    return text;
}

const char* ElementOf(RegisterKind kind) {
    switch (kind) {
        case RegisterKind::Integer:
            return "Integer";
        case RegisterKind::Enumeration:
            return "Enumeration";
        case RegisterKind::Boolean:
            return "Boolean";
        case RegisterKind::Float:
            return "Float";
        case RegisterKind::Text:
            return "StringReg";
        case RegisterKind::Command:
            return "Command";
    }
    return "Integer";
}

class Writer {
public:
    void Line(int indent, const std::string& text) {
        out_.append(static_cast<std::size_t>(indent) * 2, ' ');
        out_ += text;
        out_ += "\r\n";
    }
    void Element(int indent, const std::string& name, const std::string& value) {
        Line(indent, "<" + name + ">" + value + "</" + name + ">");
    }
    std::string Take() { return std::move(out_); }

private:
    std::string out_;
};

void WriteRegisterFields(Writer& w, const SimRegister& r) {
    w.Element(2, "Address", Hex(r.address));
    w.Element(2, "Length", std::to_string(r.length));
    w.Element(2, "AccessMode", std::string(r.access));
    w.Element(2, "pPort", "Device");
}

void WriteFeature(Writer& w, const SimRegister& r) {
    const std::string element = ElementOf(r.kind);
    const std::string name(r.name);
    w.Line(1, "<" + element + " Name=\"" + name + "\" NameSpace=\"Standard\">");
    w.Element(2, "DisplayName", std::string(r.displayName));
    if (r.kind == RegisterKind::Text) {
        WriteRegisterFields(w, r);
        w.Line(1, "</StringReg>");
        return;
    }
    for (const RegisterEntry& e : r.entries) {
        w.Line(2, "<EnumEntry Name=\"" + std::string(r.name) + "_" + std::string(e.name) + "\">");
        w.Element(3, "DisplayName", std::string(e.displayName));
        w.Element(3, "Value", std::to_string(e.value));
        w.Line(2, "</EnumEntry>");
    }
    w.Element(2, "pValue", name + "Reg");
    if (r.kind == RegisterKind::Integer || r.kind == RegisterKind::Float) {
        w.Element(2, "Min", std::to_string(r.min));
        w.Element(2, "Max", std::to_string(r.max));
    }
    if (r.kind == RegisterKind::Command) w.Element(2, "CommandValue", Hex(r.commandValue));
    w.Line(1, "</" + element + ">");

    const char* reg = r.kind == RegisterKind::Float ? "FloatReg" : "IntReg";
    w.Line(1, std::string("<") + reg + " Name=\"" + name + "Reg\">");
    WriteRegisterFields(w, r);
    w.Element(2, "Endianess", "BigEndian");
    if (r.kind == RegisterKind::Integer && r.min < 0) w.Element(2, "Sign", "Signed");
    w.Line(1, std::string("</") + reg + ">");
}

}  // namespace

std::string SimDescriptionXml() {
    Writer w;
    w.Line(0, "<?xml version=\"1.0\" encoding=\"utf-8\"?>");
    w.Line(0,
           "<RegisterDescription ModelName=\"VK4100\" VendorName=\"VK\" StandardNameSpace=\"None\""
           " SchemaMajorVersion=\"1\" SchemaMinorVersion=\"1\" SchemaSubMinorVersion=\"0\""
           " MajorVersion=\"1\" MinorVersion=\"0\" SubMinorVersion=\"0\" ProductGuid="
           "\"6F0B3C1E-4E65-4D4A-9C1F-1D6E5B4A4100\" VersionGuid="
           "\"6F0B3C1E-4E65-4D4A-9C1F-1D6E5B4A0100\">");
    for (const SimCategory& c : SimCategories()) {
        w.Line(1, "<Category Name=\"" + std::string(c.name) + "\" NameSpace=\"Standard\">");
        w.Element(2, "DisplayName", std::string(c.displayName));
        if (c.name == "Root") {
            for (const SimCategory& sub : SimCategories().subspan(1)) {
                w.Element(2, "pFeature", std::string(sub.name));
            }
        }
        for (const SimRegister& r : SimRegisters()) {
            if (r.category == c.name) w.Element(2, "pFeature", std::string(r.name));
        }
        w.Line(1, "</Category>");
        for (const SimRegister& r : SimRegisters()) {
            if (r.category == c.name) WriteFeature(w, r);
        }
    }
    w.Line(1, "<Port Name=\"Device\" NameSpace=\"Standard\">");
    w.Line(1, "</Port>");
    w.Line(0, "</RegisterDescription>");
    return w.Take();
}

}  // namespace vk::sim
