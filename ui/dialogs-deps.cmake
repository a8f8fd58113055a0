# Libraries the dialogs link (edited by whoever adds a dialog that needs more).
target_link_libraries(tangrix_dialogs PUBLIC tangrix_toolkit tangrix_assets tangrix_settings tangrix_cipher)
