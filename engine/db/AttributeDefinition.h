#pragma once
#include "engine/db/AttributeText.h"

namespace cad {

// The template of an attribute inside a block definition; its text is the default value.
class AttributeDefinition : public AttributeText {
public:
    AttributeDefinition() : AttributeText("ATTDEF") {}
    ObjectKind kind() const override { return ObjectKind::AttributeDefinition; }
    std::string_view className() const override { return "AcDbAttributeDefinition"; }
    std::unique_ptr<DbObject> clone() const override { return std::make_unique<AttributeDefinition>(*this); }

    const std::string& prompt() const { return prompt_; }
    void setPrompt(std::string prompt) { assign(prompt_, std::move(prompt)); }

private:
    std::string prompt_;
};

}  // namespace cad
