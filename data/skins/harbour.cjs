/* SPDX-License-Identifier: GPL-3.0-or-later */
/* Harbour: a calm blue skin for BazaarlySearch.
   To use it, copy this file to x/o.cjs in the program's folder; delete that copy to go back. */

QWidget#Form1 {
    background: #eaf0f8;
}

QGroupBox {
    background: #ffffff;
    border: 1px solid #c3d2e8;
    border-radius: 6px;
    margin-top: 7px;
    color: #1b4da8;
}

QGroupBox::title {
    subcontrol-origin: margin;
    left: 8px;
    padding: 0 4px;
    background: transparent;
}

QGroupBox#Frame1 {
    background: #f4f8fd;
}

QLabel {
    color: #24406e;
}

QLineEdit {
    background: #ffffff;
    color: #1b2a40;
    border: 1px solid #9fb5d6;
    border-radius: 4px;
    padding: 1px 6px;
    selection-background-color: #1f6fd6;
    selection-color: #ffffff;
}

QLineEdit:focus {
    border: 1px solid #2f80ed;
}

QTreeView {
    background: #ffffff;
    color: #1b2a40;
    border: 1px solid #c3d2e8;
    border-radius: 4px;
    selection-background-color: #1f6fd6;
    selection-color: #ffffff;
    outline: 0;
}

QTreeView::item {
    padding: 1px 0;
}

QTreeView::item:hover {
    background: #e3edfb;
    color: #1b2a40;
}

QTreeView::item:selected {
    background: #1f6fd6;
    color: #ffffff;
}

QHeaderView::section {
    background: #dde7f5;
    color: #1b3a6b;
    border: none;
    border-bottom: 1px solid #c3d2e8;
    padding: 2px 6px;
}

QPushButton {
    background: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, stop: 0 #2a74d4, stop: 1 #1a5fbf);
    color: #ffffff;
    border: 1px solid #1a5fbf;
    border-radius: 5px;
}

QPushButton:hover {
    background: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, stop: 0 #1f6fd6, stop: 1 #1a5fbf);
}

QPushButton:pressed {
    background: #164f9f;
}

QPushButton:focus {
    border: 2px solid #ffb81c;
}

QMessageBox {
    background: #eaf0f8;
}

QMessageBox QPushButton {
    min-width: 72px;
    padding: 4px 12px;
}

QToolTip {
    background: #1b3a6b;
    color: #ffffff;
    border: none;
    padding: 4px;
}

QScrollBar:vertical {
    background: #f1f5fb;
    width: 12px;
    margin: 0;
}

QScrollBar::handle:vertical {
    background: #b7c9e4;
    border-radius: 5px;
    min-height: 24px;
    margin: 2px;
}

QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical {
    height: 0;
}
