#include "station/UCluster.h"

TFDX_Cluster* FDX_Cluster = nullptr;

TFDX_Cluster::TFDX_Cluster(QWidget* parent) : TForm(QStringLiteral("FDX_Cluster"), parent) {
    setWindowTitle(QStringLiteral("DX Cluster"));
}
