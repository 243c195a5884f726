// The entity tree: creation order, hiding, copying and freeing, and what the engine's list keeps.
#include "scene/Scene.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace tonvella {
namespace {

std::vector<TEntity*> Children(const TEntityHandle& e) {
    std::vector<TEntity*> out;
    for (const auto& c : e->child_list)
        out.push_back(c.get());
    return out;
}

bool Listed(const TEntity* e) {
    return EntityList().Contains(e);
}

TEST(SceneGraphTest, NewEntitiesStartWithTheirDefaults) {
    auto p = CreatePivot();
    EXPECT_EQ(p->class_name, u"Pivot");
    EXPECT_EQ(p->parent, nullptr);
    EXPECT_FLOAT_EQ(p->sx, 1);
    EXPECT_FLOAT_EQ(p->brush.red, 1);
    EXPECT_EQ(p->brush.no_texs, 0);
    EXPECT_FLOAT_EQ(p->box_w, 2);
    EXPECT_EQ(p->anim_dir, 1);
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            EXPECT_EQ(p->mat.grid[i][j], i == j ? 1.0f : 0.0f);
}

TEST(SceneGraphTest, ListOrderFollowsCreationAndOrderKeys) {
    auto a = CreatePivot();
    auto b = CreatePivot(a);
    auto c = CreatePivot();
    std::vector<TEntity*> listed;
    for (const auto& e : EntityList())
        listed.push_back(e.get());
    const auto at = std::find(listed.begin(), listed.end(), a.get());
    ASSERT_GE(listed.end() - at, 3);
    EXPECT_EQ(std::vector<TEntity*>(at, at + 3),
              (std::vector<TEntity*>{a.get(), b.get(), c.get()}));

    // Keys: positive first (descending), zeros in insertion order, negatives last (descending).
    TList<TEntity> list;
    std::vector<std::pair<int, TEntityHandle>> made;
    for (int order : {0, 3, -1, 0, 5, -4, 3}) {
        auto e = CreatePivot();
        e->order = order;
        e->EntityListAdd(list);
        made.emplace_back(order, e);
    }
    std::vector<TEntity*> got;
    for (const auto& e : list)
        got.push_back(e.get());
    // An equal positive key goes in front of the one already listed.
    const std::vector<TEntity*> want = {
        made[4].second.get(), made[6].second.get(), made[1].second.get(), made[0].second.get(),
        made[3].second.get(), made[2].second.get(), made[5].second.get()};
    EXPECT_EQ(got, want);
    ASSERT_TRUE(made[0].second->link.has_value());
    EXPECT_EQ((**made[0].second->link).get(), made[0].second.get());
    for (const auto& entry : made)
        FreeEntity(entry.second);
}

TEST(SceneGraphTest, HidingAParentHidesItsSubtreeWithoutTouchingTheirFlags) {
    auto p = CreatePivot();
    auto c = CreatePivot(p);
    auto g = CreatePivot(c);
    HideEntity(p);
    EXPECT_EQ(Hidden(c), 1);
    EXPECT_EQ(Hidden(g), 1);
    EXPECT_EQ(c->hide, 0);
    EXPECT_EQ(g->hide, 0);
    ShowEntity(p);
    EXPECT_EQ(Hidden(g), 0);
    HideEntity(c);
    EXPECT_EQ(Hidden(p), 0);
    EXPECT_EQ(Hidden(g), 1);
}

TEST(SceneGraphTest, CopyIsAnIndependentVisibleSubtree) {
    auto root = CreatePivot();
    PositionEntity(root, 10, 0, 0);
    auto p = CreatePivot(root);
    p->name = u"template";
    PositionEntity(p, 1, 2, 3);
    RotateEntity(p, 10, 20, 30);
    ScaleEntity(p, 2, 2, 2);
    auto c1 = CreatePivot(p);
    PositionEntity(c1, 0, 1, 0);
    auto c2 = CreatePivot(p);
    auto g = CreatePivot(c1);
    PositionEntity(g, 0, 0, 1);
    HideEntity(p);
    EntityColor(p, 255, 0, 0);

    auto copy = CopyEntity(p);
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->class_name, u"Pivot");
    EXPECT_EQ(copy->name, u"template");
    EXPECT_EQ(copy->parent, nullptr); // parent none: a root, not the source's parent
    EXPECT_EQ(Hidden(copy), 0);
    EXPECT_FLOAT_EQ(copy->brush.green, 1); // the base copy keeps a fresh brush
    ASSERT_EQ(copy->child_list.Count(), 2);
    auto copy_c1 = copy->child_list.First();
    ASSERT_EQ(copy_c1->child_list.Count(), 1);
    auto copy_g = copy_c1->child_list.First();
    EXPECT_NE(copy_g.get(), g.get());
    EXPECT_TRUE(Listed(copy.get()) && Listed(copy_c1.get()) && Listed(copy_g.get()));

    // Same local values, so world = source world without the root's offset of 10.
    EXPECT_NEAR(EntityX(copy_g, 1), EntityX(g, 1) - 10, 1e-4);
    EXPECT_NEAR(EntityY(copy_g, 1), EntityY(g, 1), 1e-4);
    EXPECT_NEAR(EntityZ(copy_g, 1), EntityZ(g, 1), 1e-4);

    // Moving the copy leaves the source alone and carries the copied children.
    const float gx = EntityX(g, 1);
    PositionEntity(copy, 100, 0, 0);
    EXPECT_FLOAT_EQ(EntityX(g, 1), gx);
    EXPECT_GT(EntityX(copy_g, 1), 90);

    // A copy under a parent follows that parent.
    auto under = CopyEntity(c2, root);
    EXPECT_EQ(under->parent, root.get());
    EXPECT_NEAR(EntityX(under, 1), 10, 1e-4);
}

TEST(SceneGraphTest, FreeingAParentFreesItsSubtreeAndLeavesNoEntries) {
    auto root = CreatePivot();
    auto p = CreatePivot(root);
    auto c1 = CreatePivot(p);
    auto c2 = CreatePivot(p);
    auto g = CreatePivot(c1);
    auto sibling = CreatePivot(root);
    std::weak_ptr<TEntity> weak_g = g;
    const std::vector<TEntity*> freed = {p.get(), c1.get(), c2.get(), g.get()};

    FreeEntity(p);
    for (TEntity* e : freed)
        EXPECT_FALSE(Listed(e));
    EXPECT_EQ(Children(root), std::vector<TEntity*>{sibling.get()});
    EXPECT_TRUE(Listed(sibling.get()));
    EXPECT_TRUE(p->child_list.IsEmpty());
    EXPECT_EQ(c1->parent, nullptr);

    // Once the caller drops its handles nothing else keeps the freed entities alive.
    g.reset();
    c1.reset();
    EXPECT_TRUE(weak_g.expired());

    // A second free of a freed entity finds nothing to remove.
    const int count = EntityList().Count();
    FreeEntity(p);
    EXPECT_EQ(EntityList().Count(), count);
}

TEST(SceneGraphTest, FreeingTheLastHandleWhileFreeingIsSafe) {
    std::weak_ptr<TEntity> weak;
    {
        auto p = CreatePivot();
        CreatePivot(p);
        weak = p;
    }
    auto p = weak.lock();
    ASSERT_TRUE(p);
    TEntity* raw = p.get();
    p.reset(); // only the engine's list and the tree hold it now
    raw->FreeEntity();
    EXPECT_TRUE(weak.expired());
}

TEST(SceneGraphTest, EntityMaterialFollowsTheBrushRules) {
    auto e = CreatePivot();
    EntityColor(e, 255, 51, 0);
    EXPECT_FLOAT_EQ(e->brush.red, 1);
    EXPECT_FLOAT_EQ(e->brush.green, 0.2f);
    EntityAlpha(e, 0.5f);
    EntityShininess(e, 0.25f);
    EntityFX(e, 17);
    EntityBlend(e, 3);
    EXPECT_FLOAT_EQ(e->brush.alpha, 0.5f);
    EXPECT_FLOAT_EQ(e->brush.shine, 0.25f);
    EXPECT_EQ(e->brush.fx, 17);
    EXPECT_EQ(e->brush.blend, 3);

    auto tex = std::make_shared<TTexture>();
    tex->no_frames = 3;
    EntityTexture(e, tex, -3, 1);
    EXPECT_EQ(e->brush.tex_frame, 0);
    EXPECT_EQ(e->brush.no_texs, 2);
    EntityTexture(e, tex, 7, 0);
    EXPECT_EQ(e->brush.tex_frame, 2);
    EXPECT_EQ(e->brush.no_texs, 2);
    EntityTexture(e, tex, 0, 8);     // no such layer
    EntityTexture(e, nullptr, 5, 4); // a failed load leaves an empty layer
    EXPECT_EQ(e->brush.tex[4], nullptr);
    EXPECT_EQ(e->brush.tex_frame, 0);

    // Painting copies values, not the brush, and leaves the frame.
    e->brush.tex_frame = 2;
    auto brush = CreateBrush(0, 255, 0);
    BrushTexture(brush, tex, 0, 2);
    PaintEntity(e, brush);
    BrushColor(brush, 0, 0, 255);
    EXPECT_FLOAT_EQ(e->brush.green, 1);
    EXPECT_FLOAT_EQ(e->brush.blue, 0);
    EXPECT_EQ(e->brush.tex[2], tex);
    EXPECT_EQ(e->brush.no_texs, 3);
    EXPECT_EQ(e->brush.tex_frame, 2);
}

TEST(SceneGraphTest, NoneHandlesAreIgnored) {
    TEntityHandle none;
    PositionEntity(none, 1, 2, 3);
    FreeEntity(none);
    EXPECT_EQ(EntityX(none, 1), 0.0f);
    EXPECT_EQ(CopyEntity(none), nullptr);
    auto e = CreatePivot();
    PointEntity(e, none);
    PaintEntity(e, nullptr);
    EXPECT_FLOAT_EQ(EntityYaw(e), 0);
}

} // namespace
} // namespace tonvella
