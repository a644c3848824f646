#pragma once

namespace varnel::ui {

// Loads Qt's own Polish texts (qtbase_pl.qm of the Qt installation) into the
// running application, so that the standard dialogs (files, printer, colour,
// message box buttons) and every text field's context menu speak Polish.
// False when the translation file cannot be loaded (the texts stay English).
bool installPolishTranslations();

}  // namespace varnel::ui
