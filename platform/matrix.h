// Matrices in the row-vector convention of the original device, built with GLM.
// A row-vector matrix M has the same memory layout as the column-vector glm::mat4 that acts the
// same way, so a glm::mat4 holds it unchanged; only products swap order (A then B is B * A).
#pragma once

#include <glm/mat3x3.hpp>
#include <glm/mat4x4.hpp>

using Matrix = glm::mat4;

Matrix D3DXMatrixPerspectiveFovLH(float fovy, float aspect, float zn, float zf);
Matrix D3DXMatrixLookAtLH(glm::vec3 eye, glm::vec3 at, glm::vec3 up);
Matrix D3DXMatrixRotationX(float angle);
Matrix D3DXMatrixRotationY(float angle);
Matrix D3DXMatrixRotationZ(float angle);
Matrix D3DXMatrixTranslation(float x, float y, float z);
// a · b: a acts first.
Matrix D3DXMatrixMultiply(const Matrix& a, const Matrix& b);
// The matrix that carries normals with `world`: its inverse transpose, or the matrix itself
// where it has no inverse.
glm::mat3 NormalMatrix(const Matrix& world);
