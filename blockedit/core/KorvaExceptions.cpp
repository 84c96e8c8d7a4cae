#include "core/KorvaExceptions.h"

#include <algorithm>
#include <stdexcept>
#include <string>

CKorvaExceptions::~CKorvaExceptions() { deleteObjects(); }

void CKorvaExceptions::grow() {
    std::size_t step = growBy_;
    if (step == 0) step = std::clamp<std::size_t>(slots_.size() / 8, 4, 1024);
    slots_.resize(slots_.size() + step);
}

void CKorvaExceptions::add(std::unique_ptr<CEXKorva> exception) {
    if (!exception) throw std::invalid_argument("CKorvaExceptions::add: no exception given");
    if (count_ == slots_.size()) grow();
    slots_[count_++] = std::move(exception);
}

void CKorvaExceptions::add(CEXKorva&& exception) { add(std::move(exception).moveToHeap()); }

CEXKorva& CKorvaExceptions::getAt(std::size_t index) {
    if (index >= count_)
        throw std::out_of_range("CKorvaExceptions::getAt: index " + std::to_string(index) + " is not below the count " +
                                std::to_string(count_));
    return *slots_[index];
}

const CEXKorva& CKorvaExceptions::getAt(std::size_t index) const {
    return const_cast<CKorvaExceptions&>(*this).getAt(index);
}

void CKorvaExceptions::showAll() const {
    for (std::size_t i = 0; i < count_; ++i) slots_[i]->showErrorMessage();
}

void CKorvaExceptions::printAll() const {
    for (std::size_t i = 0; i < count_; ++i) slots_[i]->printErrorTrace();
}

void CKorvaExceptions::deleteObjects() {
    slots_.clear();
    count_ = 0;
}
