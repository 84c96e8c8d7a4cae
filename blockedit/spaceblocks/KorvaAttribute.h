#pragma once
#include "spaceblocks/Attribute.h"

// One of the three attributes every space block shows; the kind decides the tag.
class CKorvaAttribute : public CAttribute {
  public:
    static constexpr int kName = 0;
    static constexpr int kArea = 1;
    static constexpr int kAux = 2;

    CKorvaAttribute() = default;
    CKorvaAttribute(int kind, std::string value, std::string layer = {});

    int getKind() const { return kind_; }
    // 0 "NAME", 1 "AREA", 2 "AUX"; any other kind keeps the tag.
    void setKind(int kind);

    std::unique_ptr<CAttribute> clone() const override;

  private:
    int kind_ = kName;
};
