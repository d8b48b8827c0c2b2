#pragma once
// 4x4 matrix helpers: row-major, row vectors (a point times the matrix; A x B
// applies A first), right-handed view and projection with depth 0 to 1.

#include "platform/d3d9/d3d9_types.h"

namespace DRAVGraph {

void Mat4Identity(D3DMATRIX& out);
D3DMATRIX Mat4Identity();
void Mat4Copy(D3DMATRIX& out, const D3DMATRIX& in);
// out must be neither a nor b.
void Mat4Multiply(D3DMATRIX& out, const D3DMATRIX& a, const D3DMATRIX& b);
// matrix := matrix x other.
void MatrixMultiplyInPlace(D3DMATRIX& matrix, const D3DMATRIX& other);
// out must not be in; a singular matrix gives infinities or NaNs.
void Mat4Inverse(D3DMATRIX& out, const D3DMATRIX& in);
// Maps view-space z = -near to depth 0 and z = -far to depth 1.
void Mat4Perspective(D3DMATRIX& out, float fovY, float aspect, float zNear, float zFar);
void Mat4LookAt(D3DMATRIX& out, const float eye[3], const float target[3], const float up[3]);

}  // namespace DRAVGraph
