#pragma once

// The user cancelled a prompt that would otherwise be asked again: the command ends quietly.
// Not a failure, so it is no CEXKorva and the wrapping rule passes it through unchanged.
struct CUserCancel {};
