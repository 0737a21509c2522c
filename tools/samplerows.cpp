#include "tools/samplerows.h"

#include "store/statements.h"

SampleRows::SampleRows(store::Database& db)
    : dish_(db, store::statements::dishRowInsert()),
      picture_(db, store::statements::pictureRowInsert()),
      order_(db, store::statements::orderRowInsert()) {}

void SampleRows::add(const Dish& dish) {
    dish_.bindAll({dish.code, dish.name, dish.group, dish.price, dish.minutes, dish.description});
    dish_.run();
    if (!dish.picture.isEmpty()) {
        picture_.bindAll({dish.code, dish.picture});
        picture_.run();
    }
}

void SampleRows::add(const Order& order) {
    order_.bindAll({order.code, order.waiter, order.quantity, order.price, order.sum, order.date});
    order_.run();
}
