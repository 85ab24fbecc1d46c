#pragma once

#include <memory>
#include <utility>

#include "core/genicam/node.h"

namespace vk::genicam {

// Category and Port carry no value.
class CategoryNode : public Node {
public:
    using Node::Node;
    Kind GetKind() const override { return Kind::Category; }
};

class PortNode : public Node {
public:
    using Node::Node;
    Kind GetKind() const override { return Kind::Port; }
};

// Integer, Float, Boolean, Enumeration, Command and String: a value held in the description
// (<Value>) or in the node their pValue names.
class ValueNode : public Node {
public:
    using Node::Node;
    Got<std::int64_t> Int(Eval e) const override;
    Got<double> Real(Eval e) const override;
    Got<std::string> String(Eval e) const override;
    Done SetInt(Eval e, std::int64_t value) const override;
    Done SetReal(Eval e, double value) const override;
    Done SetString(Eval e, const std::string& value) const override;
    Got<IntLimits> Limits(Eval e) const override;
    Got<RealLimits> RealRange(Eval e) const override;
    Got<RegisterPlace> Place(Eval e) const override;

protected:
    Access OwnAccess(Eval e) const override;
    const Node* Target(Eval e, std::string& reason) const;
    Done CheckRange(Eval e, double value) const;
};

class IntegerNode : public ValueNode {
public:
    using ValueNode::ValueNode;
    Kind GetKind() const override { return Kind::Integer; }
    Done SetInt(Eval e, std::int64_t value) const override;
};

class FloatNode : public ValueNode {
public:
    using ValueNode::ValueNode;
    Kind GetKind() const override { return Kind::Float; }
};

class BooleanNode : public ValueNode {
public:
    using ValueNode::ValueNode;
    Kind GetKind() const override { return Kind::Boolean; }
    Got<std::int64_t> Int(Eval e) const override;  // 1 when the value is OnValue
    Done SetInt(Eval e, std::int64_t value) const override;
    Got<IntLimits> Limits(Eval) const override { return Got<IntLimits>{IntLimits{0, 1, 1}, {}}; }
};

class EnumerationNode : public ValueNode {
public:
    using ValueNode::ValueNode;
    Kind GetKind() const override { return Kind::Enumeration; }
    Got<std::string> String(Eval e) const override;  // the entry's symbolic name
    Done SetString(Eval e, const std::string& value) const override;
    Done SetInt(Eval e, std::int64_t value) const override;
    // Entries not implemented (their pIsImplemented is 0) are left out.
    std::vector<const EnumEntry*> Entries(Eval e) const;
    static std::string Symbolic(const Node& enumeration, const EnumEntry& entry);
};

class CommandNode : public ValueNode {
public:
    using ValueNode::ValueNode;
    Kind GetKind() const override { return Kind::Command; }
    Done Execute(Eval e) const;  // writes CommandValue (or pCommandValue's value) to pValue
    Got<std::int64_t> CommandValue(Eval e) const;
};

class StringNode : public ValueNode {
public:
    using ValueNode::ValueNode;
    Kind GetKind() const override { return Kind::String; }
};

// IntReg, MaskedIntReg, FloatReg, StringReg, Register and the StructEntry of a StructReg:
// bytes at an address on the port, decoded by Endianess, Sign, LSB/MSB/Bit.
class RegisterNode : public Node {
public:
    using Node::Node;
    Kind GetKind() const override;
    Got<std::int64_t> Int(Eval e) const override;
    Got<double> Real(Eval e) const override;
    Got<std::string> String(Eval e) const override;
    Done SetInt(Eval e, std::int64_t value) const override;
    Done SetReal(Eval e, double value) const override;
    Done SetString(Eval e, const std::string& value) const override;
    Got<IntLimits> Limits(Eval e) const override;
    Got<RealLimits> RealRange(Eval e) const override;
    Got<RegisterPlace> Place(Eval e) const override;

protected:
    Access OwnAccess(Eval e) const override;

private:
    bool Masked() const;
    bool LittleEndian() const { return Text("Endianess") != "BigEndian"; }
    bool Signed() const;
    // The field's bits counted from the least significant bit of the value read.
    int LowBitOf(std::uint32_t length) const;
    int HighBitOf(std::uint32_t length) const;
    std::pair<int, int> BitsAsWritten() const;
    Got<std::vector<std::uint8_t>> Bytes(Eval e, RegisterPlace& place) const;
};

// SwissKnife, IntSwissKnife (a formula over variables; read only), Converter and
// IntConverter (FormulaFrom reads pValue's value as TO, FormulaTo gives the value to write
// from FROM).
class FormulaNode : public Node {
public:
    FormulaNode(std::string type, std::string name, std::vector<Prop> props);
    Kind GetKind() const override;
    Got<std::int64_t> Int(Eval e) const override;
    Got<double> Real(Eval e) const override;
    Done SetInt(Eval e, std::int64_t value) const override;
    Done SetReal(Eval e, double value) const override;
    Got<IntLimits> Limits(Eval e) const override;
    Got<RealLimits> RealRange(Eval e) const override;
    Got<RegisterPlace> Place(Eval e) const override;
    const std::string& FormulaError() const { return error_; }

protected:
    Access OwnAccess(Eval e) const override;

private:
    bool Integral() const { return Type() == "IntSwissKnife" || Type() == "IntConverter"; }
    bool Converter() const { return Type() == "Converter" || Type() == "IntConverter"; }
    // `input` names the variable that holds `from` (TO or FROM), or nothing.
    Got<double> Variable(Eval e, std::string_view name, double from, const char* input) const;
    Got<double> Apply(Eval e, const Formula& f, double from, const char* input) const;

    Formula main_;  // Formula, or FormulaFrom of a converter
    Formula to_;
    std::string error_;
};

// The node class for an element of the description; nothing for an unknown one.
std::unique_ptr<Node> MakeNode(const std::string& type, std::string name, std::vector<Prop> props);

}  // namespace vk::genicam
