// Dialog texts as data: for every dialog template its caption and the texts
// of its labels, buttons, check boxes, radio buttons and group boxes, keyed
// by control id.
//
// Dialogs are named by their German base id (1-16); the English template
// stands at base + 1000. The data search dialogs 15 and 16 exist once, with
// English texts, and answer under 15/16 and 1015/1016 alike.
//
// The text of an edit's id is the label in front of that edit ("&Loginname:"
// for edit 1014 of the login dialog); texts without a control of their own
// use the private ids from 1200 up (resource_ids.h).
#pragma once

#include <cstddef>
#include <string>

#include "platform/com/wintypes.h"

enum class DialogControlKind {
  Label,          // static text; for an edit id, its label
  Button,         // push button
  DefaultButton,  // push button that Return presses
  CheckBox,
  RadioButton,
  GroupBox,
};

struct DialogControlText {
  int controlId;
  DialogControlKind kind;
  const char* text;  // UTF-8, "&" marks the mnemonic
};

struct DialogDef {
  UINT id;              // absolute id
  const char* caption;  // UTF-8
  const DialogControlText* controls;
  size_t controlCount;
};

// The template with this absolute id (1015/1016 give 15/16), or null.
const DialogDef* FindDialogDef(UINT absoluteId);

// Caption of dialog baseId + g_languageOffset; empty when there is none.
std::string DialogCaption(UINT dialogBaseId);

// Text of a control of dialog baseId + g_languageOffset; empty when the
// dialog or the control has none.
std::string DialogText(UINT dialogBaseId, int controlId);

// The product line and the maker's lines shown by the about box and on the
// settings page's product button.
extern const char kProductInfoText[];
// The maker's web site that the "&Web-Site" and product buttons open.
extern const char kMakerWebAddress[];
