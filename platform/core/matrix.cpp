#include "platform/matrix.h"

#include <glm/gtc/matrix_inverse.hpp>
#include <glm/gtc/matrix_transform.hpp>

Matrix D3DXMatrixPerspectiveFovLH(float fovy, float aspect, float zn, float zf) {
    return glm::perspectiveLH_ZO(fovy, aspect, zn, zf);
}

Matrix D3DXMatrixLookAtLH(glm::vec3 eye, glm::vec3 at, glm::vec3 up) {
    return glm::lookAtLH(eye, at, up);
}

Matrix D3DXMatrixRotationX(float angle) {
    return glm::rotate(Matrix(1.0f), angle, glm::vec3(1, 0, 0));
}

Matrix D3DXMatrixRotationY(float angle) {
    return glm::rotate(Matrix(1.0f), angle, glm::vec3(0, 1, 0));
}

Matrix D3DXMatrixRotationZ(float angle) {
    return glm::rotate(Matrix(1.0f), angle, glm::vec3(0, 0, 1));
}

Matrix D3DXMatrixTranslation(float x, float y, float z) {
    return glm::translate(Matrix(1.0f), glm::vec3(x, y, z));
}

Matrix D3DXMatrixMultiply(const Matrix& a, const Matrix& b) { return b * a; }

glm::mat3 NormalMatrix(const Matrix& world) {
    glm::mat3 m(world);
    return glm::determinant(m) != 0.0f ? glm::inverseTranspose(m) : m;
}
