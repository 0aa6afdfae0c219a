// The text .x reader. Every count and index is checked against the data that follows before it
// is used, nesting is bounded, and every loop consumes a token, so malformed input ends in an
// error naming its line rather than a crash, a huge allocation or a hang.
#include "platform/core/xfile.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <glm/gtc/matrix_inverse.hpp>
#include <glm/mat3x3.hpp>
#include <glm/mat4x4.hpp>
#include <map>
#include <unordered_map>

#include "platform/core/regular_file.h"

using namespace dev;

namespace {

// The whole of [first, last) as a number, correctly rounded.
bool ReadFloat(const char* first, const char* last, float& value) {
#if __cpp_lib_to_chars >= 201611L
    auto [end, ec] = std::from_chars(first, last, value);
    return ec == std::errc() && end == last;
#else
    // Emscripten's libc++ reads no floating point with from_chars; strtof in the C locale,
    // which the game never changes, reads a number token the same way.
    std::string text(first, last);
    if (text.empty() || std::isspace(static_cast<unsigned char>(text[0]))) return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtof(text.c_str(), &end);
    return errno == 0 && end == text.c_str() + text.size();
#endif
}

enum class Tok { Name, Number, String, Guid, Open, Close, Semicolon, Comma, Other, End };

struct Token {
    Tok kind;
    std::string_view text;
    int line;
};

struct Failure {
    int line;
    std::string message;
};

constexpr int MaxFrameDepth = 64;
constexpr uint32_t NoNormal = 0xFFFFFFFFu;

bool NameStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool NameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-' || c == '.';
}
bool Digit(char c) { return c >= '0' && c <= '9'; }

// Makes tokens one at a time as the parser asks for them, so that reading costs no memory beyond
// the mesh itself however the file is made.
class Lexer {
  public:
    explicit Lexer(std::string_view text) : text_(text) {}
    size_t BytesLeft() const { return text_.size() - i_; }

    Token Next() {
        while (i_ < text_.size()) {
            char c = text_[i_];
            if (c == '\n') {
                ++line_;
                ++i_;
            } else if (c == ' ' || c == '\t' || c == '\r') {
                ++i_;
            } else if (c == '#' || (c == '/' && i_ + 1 < text_.size() && text_[i_ + 1] == '/')) {
                while (i_ < text_.size() && text_[i_] != '\n') ++i_;
            } else {
                lastLine_ = line_;
                return Make(c);
            }
        }
        // The end is reported on the last line that has something on it.
        return {Tok::End, "end of file", lastLine_ > 0 ? lastLine_ : line_};
    }

  private:
    std::string_view text_;
    size_t i_ = 0;
    int line_ = 1;
    int lastLine_ = 0;

    std::string_view Until(char end, const char* what) {
        size_t start = i_++;
        while (i_ < text_.size() && text_[i_] != end) {
            if (text_[i_] == '\n') throw Failure{line_, std::string("unterminated ") + what};
            ++i_;
        }
        if (i_ >= text_.size()) throw Failure{line_, std::string("unterminated ") + what};
        ++i_;
        return text_.substr(start, i_ - start);
    }

    Token Make(char c) {
        std::string_view text = text_;
        size_t& i = i_;
        if (c == '"') {
            std::string_view quoted = Until('"', "string");
            return {Tok::String, quoted.substr(1, quoted.size() - 2), line_};
        }
        if (c == '<') return {Tok::Guid, Until('>', "GUID"), line_};
        if (NameStart(c)) {
            size_t start = i;
            while (i < text.size() && NameChar(text[i])) ++i;
            return {Tok::Name, text.substr(start, i - start), line_};
        }
        if (Digit(c) || (i + 1 < text.size() && ((c == '.' && Digit(text[i + 1])) ||
                                                 ((c == '-' || c == '+') &&
                                                  (Digit(text[i + 1]) || text[i + 1] == '.'))))) {
            size_t start = i++;
            while (i < text.size() &&
                   (Digit(text[i]) || text[i] == '.' || text[i] == 'e' || text[i] == 'E' ||
                    ((text[i] == '-' || text[i] == '+') &&
                     (text[i - 1] == 'e' || text[i - 1] == 'E'))))
                ++i;
            return {Tok::Number, text.substr(start, i - start), line_};
        }
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7f)
            throw Failure{line_, "unexpected byte in the text"};
        Tok kind = c == '{'   ? Tok::Open
                   : c == '}' ? Tok::Close
                   : c == ';' ? Tok::Semicolon
                   : c == ',' ? Tok::Comma
                              : Tok::Other;
        return {kind, text.substr(i++, 1), line_};
    }
};

// A mesh as the file gives it, before its corners become vertices.
struct RawMesh {
    std::vector<glm::vec3> positions;
    std::vector<uint32_t> faceStart;  // offsets into `corners`; one more than the face count
    std::vector<uint32_t> corners;
    std::vector<glm::vec3> normals;
    std::vector<uint32_t> normalCorners;  // parallel to `corners` when there are normals
    std::vector<glm::vec2> uvs;
    std::vector<uint32_t> faceMaterials;
    std::vector<XMaterial> materials;
    bool hasMaterialList = false;
};

class Parser {
  public:
    explicit Parser(std::string_view text) : lexer_(text), current_(lexer_.Next()) {}

    void File() {
        for (SkipSeparators(); Peek().kind != Tok::End; SkipSeparators()) {
            Token t = Next();
            if (t.kind != Tok::Name) Fail(t, "expected an object or template");
            if (t.text == "template")
                SkipObject();
            else if (t.text == "Frame")
                Frame(1);
            else if (t.text == "Mesh")
                Mesh();
            else if (t.text == "Material")
                NamedMaterial();
            else
                SkipObject();
        }
        if (meshes_.empty()) Fail(Peek(), "the file holds no mesh");
    }

    std::vector<RawMesh>& Meshes() { return meshes_; }

  private:
    Lexer lexer_;
    Token current_;
    std::vector<RawMesh> meshes_;
    std::map<std::string, XMaterial, std::less<>> named_;

    [[noreturn]] static void Fail(const Token& t, const std::string& message) {
        throw Failure{t.line, message};
    }
    const Token& Peek() const { return current_; }
    Token Next() {
        Token t = current_;
        if (t.kind != Tok::End) current_ = lexer_.Next();
        return t;
    }
    void SkipSeparators() {
        while (Peek().kind == Tok::Semicolon || Peek().kind == Tok::Comma) Next();
    }
    // The next value's token, for naming its line in an error.
    Token PeekValue() {
        SkipSeparators();
        return Peek();
    }
    void Expect(Tok kind, const char* what) {
        if (Peek().kind != kind) Fail(Peek(), std::string("expected ") + what);
        Next();
    }
    // After an object's type: an optional name, an optional GUID, then '{'. Returns the name.
    std::string_view Header() {
        std::string_view name;
        if (Peek().kind == Tok::Name) name = Next().text;
        if (Peek().kind == Tok::Guid) Next();
        Expect(Tok::Open, "'{'");
        return name;
    }
    // Skips to the '}' that closes an object whose '{' has been read.
    void SkipBody() {
        int depth = 1;
        while (depth > 0) {
            Token t = Next();
            if (t.kind == Tok::End) Fail(t, "unexpected end of file inside an object");
            if (t.kind == Tok::Open) ++depth;
            if (t.kind == Tok::Close) --depth;
        }
    }
    void SkipObject() {
        Header();
        SkipBody();
    }
    void Close() {
        SkipSeparators();
        Expect(Tok::Close, "'}'");
    }
    uint32_t Uint(const char* what) {
        SkipSeparators();
        Token t = Peek();
        uint32_t value = 0;
        auto [end, ec] = std::from_chars(t.text.data(), t.text.data() + t.text.size(), value);
        if (t.kind != Tok::Number || ec != std::errc() || end != t.text.data() + t.text.size())
            Fail(t, std::string("expected ") + what + " (a whole number)");
        Next();
        return value;
    }
    // A count of items that each take at least `tokensPerItem` tokens, each token a byte and a
    // separator at least: never more than the bytes left could hold.
    uint32_t Count(const char* what, size_t tokensPerItem) {
        Token t = PeekValue();
        uint32_t n = Uint(what);
        if (n > (lexer_.BytesLeft() + Peek().text.size() + 2) / (2 * tokensPerItem))
            Fail(t, std::string(what) + " is larger than the data that follows");
        return n;
    }
    uint32_t Index(uint32_t limit, const char* what) {
        Token t = PeekValue();
        uint32_t i = Uint(what);
        if (i >= limit) Fail(t, std::string(what) + " out of range");
        return i;
    }
    float Float() {
        SkipSeparators();
        Token t = Peek();
        const char* first = t.text.data();
        if (t.kind == Tok::Number && *first == '+') ++first;
        float value = 0;
        if (t.kind != Tok::Number || !ReadFloat(first, t.text.data() + t.text.size(), value))
            Fail(t, "expected a number");
        Next();
        return value;
    }
    glm::vec3 Vec3() {
        float x = Float(), y = Float();
        return {x, y, Float()};
    }
    D3DCOLORVALUE Colour(bool withAlpha) {
        D3DCOLORVALUE c;
        c.r = Float();
        c.g = Float();
        c.b = Float();
        c.a = withAlpha ? Float() : 1.0f;
        return c;
    }

    void Frame(int depth) {
        if (depth > MaxFrameDepth) Fail(Peek(), "frames nested too deeply");
        Header();
        size_t firstMesh = meshes_.size();
        glm::mat4 local(1.0f);
        for (;;) {
            SkipSeparators();
            Token t = Next();
            if (t.kind == Tok::Close) break;
            if (t.kind == Tok::Open) {
                SkipBody();  // an instanced mesh by reference: not used by the game
            } else if (t.kind != Tok::Name) {
                Fail(t, "expected an object or '}'");
            } else if (t.text == "FrameTransformMatrix") {
                Header();
                for (int i = 0; i < 16; ++i) local[i / 4][i % 4] = Float();
                Close();
            } else if (t.text == "Frame") {
                Frame(depth + 1);
            } else if (t.text == "Mesh") {
                Mesh();
            } else if (t.text == "Material") {
                NamedMaterial();
            } else {
                SkipObject();
            }
        }
        // Applied at the frame's end so the matrix may come anywhere inside it; nested frames
        // have already applied their own, so row vectors get child first, then parent.
        glm::mat3 normalMatrix = NormalMatrix(local);
        for (size_t m = firstMesh; m < meshes_.size(); ++m) {
            for (glm::vec3& p : meshes_[m].positions) p = glm::vec3(local * glm::vec4(p, 1.0f));
            for (glm::vec3& n : meshes_[m].normals) n = normalMatrix * n;
        }
    }

    void Mesh() {
        Header();
        RawMesh mesh;
        uint32_t vertexCount = Count("vertex count", 3);
        mesh.positions.reserve(vertexCount);
        for (uint32_t i = 0; i < vertexCount; ++i) mesh.positions.push_back(Vec3());
        uint32_t faceCount = Count("face count", 4);
        mesh.faceStart.push_back(0);
        for (uint32_t f = 0; f < faceCount; ++f) {
            Token t = PeekValue();
            uint32_t n = Count("corner count", 1);
            if (n < 3) Fail(t, "a face needs three corners or more");
            for (uint32_t c = 0; c < n; ++c)
                mesh.corners.push_back(Index(vertexCount, "vertex index"));
            mesh.faceStart.push_back(static_cast<uint32_t>(mesh.corners.size()));
        }
        for (;;) {
            SkipSeparators();
            Token t = Next();
            if (t.kind == Tok::Close) break;
            if (t.kind == Tok::Open) {
                SkipBody();
            } else if (t.kind != Tok::Name) {
                Fail(t, "expected an object or '}'");
            } else if (t.text == "MeshNormals") {
                Normals(mesh);
            } else if (t.text == "MeshTextureCoords") {
                Header();
                Token countToken = PeekValue();
                uint32_t n = Count("texture coordinate count", 2);
                if (n != vertexCount)
                    Fail(countToken, "texture coordinates do not match the vertices");
                mesh.uvs.clear();
                for (uint32_t i = 0; i < n; ++i) {
                    float u = Float();
                    mesh.uvs.emplace_back(u, Float());
                }
                Close();
            } else if (t.text == "MeshMaterialList") {
                MaterialList(mesh);
            } else {
                SkipObject();
            }
        }
        meshes_.push_back(std::move(mesh));
    }

    void Normals(RawMesh& mesh) {
        Header();
        uint32_t count = Count("normal count", 3);
        mesh.normals.clear();
        for (uint32_t i = 0; i < count; ++i) mesh.normals.push_back(Vec3());
        Token facesToken = PeekValue();
        uint32_t faceCount = Count("normal face count", 4);
        if (faceCount + 1 != mesh.faceStart.size())
            Fail(facesToken, "normal faces do not match the mesh's faces");
        mesh.normalCorners.clear();
        for (uint32_t f = 0; f < faceCount; ++f) {
            Token t = PeekValue();
            uint32_t n = Uint("corner count");
            if (n != mesh.faceStart[f + 1] - mesh.faceStart[f])
                Fail(t, "a normal face's corners do not match its face");
            for (uint32_t c = 0; c < n; ++c)
                mesh.normalCorners.push_back(Index(count, "normal index"));
        }
        Close();
    }

    void MaterialList(RawMesh& mesh) {
        Header();
        Token countToken = PeekValue();
        uint32_t materialCount = Count("material count", 1);
        Token indexToken = PeekValue();
        uint32_t indexCount = Count("face material count", 1);
        if (materialCount == 0 && indexCount > 0)
            Fail(indexToken, "face materials with no materials");
        // Every face goes into some material's subset, so faces need at least one.
        if (materialCount == 0 && mesh.faceStart.size() > 1)
            Fail(countToken, "a material list with no materials for the mesh's faces");
        mesh.faceMaterials.clear();
        for (uint32_t i = 0; i < indexCount; ++i)
            mesh.faceMaterials.push_back(Index(materialCount, "material index"));
        mesh.materials.clear();
        for (;;) {
            SkipSeparators();
            Token t = Next();
            if (t.kind == Tok::Close) break;
            if (t.kind == Tok::Open) {
                Token name = Next();
                if (name.kind != Tok::Name) Fail(name, "expected a material's name");
                auto found = named_.find(name.text);
                if (found == named_.end())
                    Fail(name, "no material named " + std::string(name.text));
                mesh.materials.push_back(found->second);
                if (Peek().kind == Tok::Guid) Next();
                Expect(Tok::Close, "'}'");
            } else if (t.kind == Tok::Name && t.text == "Material") {
                Header();
                mesh.materials.push_back(MaterialBody());
            } else if (t.kind == Tok::Name) {
                SkipObject();
            } else {
                Fail(t, "expected a material or '}'");
            }
        }
        if (mesh.materials.size() != materialCount)
            Fail(countToken, "the material list does not give as many materials as it counts");
        mesh.hasMaterialList = true;
    }

    void NamedMaterial() {
        std::string name(Header());
        XMaterial material = MaterialBody();
        if (!name.empty()) named_[name] = material;
    }

    // The body after a Material's '{', up to and including its '}'.
    XMaterial MaterialBody() {
        XMaterial material;
        material.matD3D.diffuse = Colour(true);
        material.matD3D.power = Float();
        material.matD3D.specular = Colour(false);
        material.matD3D.emissive = Colour(false);
        for (;;) {
            SkipSeparators();
            Token t = Next();
            if (t.kind == Tok::Close) break;
            if (t.kind == Tok::Name &&
                (t.text == "TextureFilename" || t.text == "TextureFileName")) {
                Header();
                SkipSeparators();
                if (Peek().kind != Tok::String) Fail(Peek(), "expected a file name in quotes");
                material.textureFilename = std::string(Next().text);
                Close();
            } else if (t.kind == Tok::Name) {
                SkipObject();
            } else {
                Fail(t, "expected an object or '}'");
            }
        }
        return material;
    }
};

// Splits the corners into vertices (one per distinct position and normal pair), fans every
// polygon into triangles and sorts them into one subset per material.
void Assemble(std::vector<RawMesh>& meshes, XMeshData& out) {
    for (RawMesh& mesh : meshes) {
        if (!mesh.hasMaterialList) {
            XMaterial white;
            white.matD3D.diffuse = {1.0f, 1.0f, 1.0f, 1.0f};
            mesh.materials.push_back(white);
        }
        size_t firstSubset = out.subsets.size();
        for (XMaterial& m : mesh.materials) out.materials.push_back(std::move(m));
        out.subsets.resize(out.materials.size());
        std::unordered_map<uint64_t, uint32_t> made;
        bool hasNormals = !mesh.normalCorners.empty();
        auto vertexOf = [&](uint32_t corner) {
            uint32_t p = mesh.corners[corner];
            uint32_t n = hasNormals ? mesh.normalCorners[corner] : NoNormal;
            auto [it, fresh] = made.try_emplace((uint64_t(p) << 32) | n, 0);
            if (fresh) {
                it->second = static_cast<uint32_t>(out.vertices.size());
                XVertex v;
                v.position = mesh.positions[p];
                if (hasNormals) v.normal = mesh.normals[n];
                if (!mesh.uvs.empty()) v.uv = mesh.uvs[p];
                out.vertices.push_back(v);
            }
            return it->second;
        };
        size_t faceCount = mesh.faceStart.size() - 1;
        for (size_t f = 0; f < faceCount; ++f) {
            // Fewer face materials than faces: the last one goes on for the rest.
            uint32_t material = 0;
            if (!mesh.faceMaterials.empty())
                material = mesh.faceMaterials[std::min(f, mesh.faceMaterials.size() - 1)];
            std::vector<uint32_t>& subset = out.subsets[firstSubset + material];
            uint32_t first = mesh.faceStart[f];
            for (uint32_t c = first + 1; c + 1 < mesh.faceStart[f + 1]; ++c) {
                subset.push_back(vertexOf(first));
                subset.push_back(vertexOf(c));
                subset.push_back(vertexOf(c + 1));
            }
        }
    }
}

}  // namespace

bool ParseXText(std::string_view text, XMeshData& mesh, std::string& error) {
    mesh = XMeshData{};
    if (text.size() < 16 || text.substr(0, 4) != "xof ") {
        error = "line 1: not an .x file";
        return false;
    }
    if (text.substr(8, 4) != "txt ") {
        error = "line 1: only the text form of .x is read";
        return false;
    }
    try {
        // The header is 16 bytes and may share its line with the first object.
        Parser parser(text.substr(16));
        parser.File();
        Assemble(parser.Meshes(), mesh);
    } catch (const Failure& failure) {
        mesh = XMeshData{};
        error = "line " + std::to_string(failure.line) + ": " + failure.message;
        return false;
    }
    return true;
}

bool ReadXFile(const std::string& path, XMeshData& mesh, std::string& error) {
    mesh = XMeshData{};
    std::string contents;
    if (!ReadRegularFile(path, MaxXFileBytes, contents, error)) return false;
    if (!ParseXText(contents, mesh, error)) {
        error = path + " " + error;
        return false;
    }
    return true;
}
