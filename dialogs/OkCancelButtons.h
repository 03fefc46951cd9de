#pragma once

class QDialog;
class QDialogButtonBox;

// The centred "确定" (default) and "取消" pair that closes `dialog` with OK or Cancel.
QDialogButtonBox* makeOkCancelButtons(QDialog* dialog);
