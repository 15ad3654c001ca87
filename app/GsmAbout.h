#pragma once
// The "About" page: the program's icon, title and version. It has no commands.

#include "platform/qt/PropertyPage.h"

class CGSM_About : public platform::qt::CPropertyPage {
    Q_OBJECT
public:
    explicit CGSM_About(QWidget* parent = nullptr);

protected:
    platform::BOOL OnInitDialog() override;
};
