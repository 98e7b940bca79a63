#pragma once

#include "widgets/TForm.h"

class TFDX_Cluster : public TForm {
    Q_OBJECT
public:
    explicit TFDX_Cluster(QWidget* parent = nullptr);
};

extern TFDX_Cluster* FDX_Cluster;
